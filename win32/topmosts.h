// The program's own stay-on-top windows made normal for a while, as the
// application's NormalizeTopMosts does before a window of the program must
// come above all of them (the popup note), and made stay-on-top again
// afterwards (RestoreTopMosts).
//
// Only the top-level windows of this process that are visible and
// stay-on-top at the time are touched, and exactly those get their
// stay-on-top state back; another program's windows are never changed.
// Windows that are gone by then are skipped.
#pragma once

#include <windows.h>

#include <vector>

namespace taskloom {

class NormalizedTopMosts {
public:
    // NormalizeTopMosts: every visible stay-on-top top-level window of this
    // process except `except` is made normal, nothing is activated.
    explicit NormalizedTopMosts(HWND except);
    // RestoreTopMosts.
    ~NormalizedTopMosts();
    NormalizedTopMosts(const NormalizedTopMosts&) = delete;
    NormalizedTopMosts& operator=(const NormalizedTopMosts&) = delete;

    // The windows made normal, from the top of the stacking order down.
    const std::vector<HWND>& windows() const { return windows_; }

private:
    std::vector<HWND> windows_;
};

}  // namespace taskloom
