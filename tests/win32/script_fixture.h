// What the tests of whole scripts share: a folder of their own to run in,
// the console runner started there, and the check that no run leaves a
// modifier key down.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/desktop.h"
#include "tests/win32/helpers.h"

namespace taskloom::wintest {

inline Wnd W(HWND h) { return static_cast<Wnd>(reinterpret_cast<intptr_t>(h)); }

// The separator of menu path levels.
inline const std::string kEscText(1, '\x1b');

class ScriptTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_FALSE(ModifierDown()) << "a modifier key was left down";
        // Whatever happened, the next test starts with every modifier up.
        for (BYTE vk : {VK_MENU, VK_CONTROL, VK_SHIFT})
            if (GetAsyncKeyState(vk) & 0x8000) keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
    }

    // Runs the script with the console runner in this test's folder and
    // waits for its end.
    Finished Run(const std::vector<std::string>& lines, const std::string& options = {}) {
        Finished f = StartScript(folder_, lines, options).finish();
        EXPECT_FALSE(f.timedOut) << "the run did not end in time";
        return f;
    }

    TempFolder folder_;
};

}  // namespace taskloom::wintest
