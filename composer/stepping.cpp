// Stepping through the script: Step (F10), Test from Here, Toggle
// Breakpoint (F9), and the paused run between two steps. Which line runs
// next, and where breakpoints go when the list changes, is the model's
// (composer/model/stepping.h); the engine keeps the paused run's state.
#include "composer/vexa_form.h"
#include "resources/loomwright_ids.h"

namespace loomwright {

void VexaForm::StepClick() {
    if (testing_ || script_.empty()) return;
    runInList(taskloom::RunKind::Step);
}

void VexaForm::TestFromHereClick() {
    if (testing_ || script_.empty()) return;
    runInList(taskloom::RunKind::FromHere);
}

void VexaForm::runInList(taskloom::RunKind kind) {
    const taskloom::RunOutcome o = runWithAbort(kind);
    // The next line to run is selected and shown as a click would show it:
    // its note block reaches the Popup page, the Clips page shows the
    // buffer as it stands, the status bar the target window.
    if (o.paused) selectLine(o.select);
}

void VexaForm::BreakpointClick() {
    if (!script_.hasSelection()) return;
    const auto i = static_cast<std::size_t>(script_.selected());
    breakpoints_.toggle(script_, i);
    // Only the entry's text changes: the list keeps its place in view.
    const LRESULT top = SendMessageA(MacroBox.h, LB_GETTOPINDEX, 0, 0);
    SendMessageA(MacroBox.h, WM_SETREDRAW, FALSE, 0);
    MacroBox.remove(static_cast<int>(i));
    MacroBox.insert(static_cast<int>(i), listText(i));
    MacroBox.select(script_.selected());
    SendMessageA(MacroBox.h, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessageA(MacroBox.h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(MacroBox.h, nullptr, TRUE);
}

void VexaForm::endPausedRun() {
    if (!engine_ || !engine_->paused()) return;
    engine_->endPausedRun();
    SetButtons();
}

void VexaForm::listEdited(const taskloom::ListChange& change) {
    breakpoints_.follow(script_, change);
    // Every edit's handler runs SetButtons once MacroBox shows the edit.
    if (engine_) engine_->endPausedRun();
}

std::string VexaForm::listText(std::size_t index) const {
    return taskloom::ListDisplayText(script_.line(index), breakpoints_.has(index));
}

void VexaForm::showStepState() {
    // Menu states are compared first: SetButtons runs for every line a
    // script runs.
    auto enable = [this](UINT id, bool on) {
        const UINT state = GetMenuState(menu_, id, MF_BYCOMMAND);
        if (state == static_cast<UINT>(-1) || ((state & MF_GRAYED) != 0) == on)
            EnableMenuItem(menu_, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(IDM_STEP, !testing_ && !script_.empty());
    enable(IDM_TESTHERE, !testing_ && !script_.empty());
    enable(IDM_BREAKPOINT, script_.hasSelection());

    if (engine_->paused() && !testing_) {
        const taskloom::Wnd target = engine_->targetWnd();
        const bool there = target > 0 && desktop_.isWindow(target);
        setPanel(1, taskloom::PausedTargetText(there, there ? desktop_.windowText(target) : std::string()));
        pausedShown_ = true;
    } else if (pausedShown_) {
        // SetButtons has written the chosen window's panel back, when a
        // title is chosen.
        pausedShown_ = false;
        if (windowsPage().selectedIndex() < 0) setPanel(1, "");
    }
}

bool VexaForm::translateStepKeys(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    if (msg.wParam != VK_F9 && msg.wParam != VK_F10) return false;
    if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
    // The key fields capture F9 and F10 as keys: the Keys page's for a key
    // line, the Tessdeck page's (where the script list is hidden) for a hot
    // key.
    const KeysPage* keys = madePage<KeysPage>(kKeysPage);
    if ((keys && msg.hwnd == keys->keyStrokes()) || activeCaption() == "Tessdeck") return false;
    if (!stepKeys_) stepKeys_ = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_STEPKEYS));
    return stepKeys_ && TranslateAcceleratorA(hwnd(), stepKeys_, &msg) != 0;
}

}  // namespace loomwright
