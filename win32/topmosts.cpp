#include "win32/topmosts.h"

namespace taskloom {
namespace {

struct Search {
    HWND except;
    DWORD process;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectTopMost(HWND w, LPARAM lp) {
    const Search& s = *reinterpret_cast<const Search*>(lp);
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    if (w != s.except && process == s.process && IsWindowVisible(w) &&
        (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST))
        s.found->push_back(w);
    return TRUE;
}

// A window of another thread of ours is changed without waiting for that
// thread: it may itself be waiting for this one.
void PlaceInBand(HWND w, HWND band) {
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (GetWindowThreadProcessId(w, nullptr) != GetCurrentThreadId()) flags |= SWP_ASYNCWINDOWPOS;
    SetWindowPos(w, band, 0, 0, 0, 0, flags);
}

}  // namespace

NormalizedTopMosts::NormalizedTopMosts(HWND except) {
    Search s{except, GetCurrentProcessId(), &windows_};
    EnumWindows(CollectTopMost, reinterpret_cast<LPARAM>(&s));
    for (HWND w : windows_) PlaceInBand(w, HWND_NOTOPMOST);
}

NormalizedTopMosts::~NormalizedTopMosts() {
    // From the bottom up, so that each lands above the one below it and
    // their order among themselves is the one they had.
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if (IsWindow(*it)) PlaceInBand(*it, HWND_TOPMOST);
}

}  // namespace taskloom
