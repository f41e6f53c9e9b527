// The script list: Add, AddLine, Delete, Up, Down, Test and MacroBoxClick.
#include "composer/vexa_form.h"
#include "wingui/error_report.h"
#include "resources/loomwright_ids.h"

namespace loomwright {

namespace {

// While a script runs, the engine lets the messages run itself, past the
// program's loop and so past the form's dialog keys. This hook gives the
// keys meant for the form to IsDialogMessage as the loop does: Tab,
// mnemonics (Alt+A is Abort) and Esc work during a run too.
thread_local HWND tRunningForm = nullptr;

LRESULT CALLBACK RunDialogKeys(int code, WPARAM wp, LPARAM lp) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && tRunningForm && msg->message >= WM_KEYFIRST &&
        msg->message <= WM_KEYLAST && IsDialogMessageA(tRunningForm, msg)) {
        // Taken as a dialog key: the caller dispatches nothing.
        msg->message = WM_NULL;
        msg->wParam = 0;
        msg->lParam = 0;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

void VexaForm::apply(const taskloom::ListChange& change) {
    if (change.any()) {
        listEdited(change);
        SendMessageA(MacroBox.h, WM_SETREDRAW, FALSE, 0);
        for (std::size_t i = 0; i < change.removed; ++i) MacroBox.remove(static_cast<int>(change.at));
        for (std::size_t i = 0; i < change.inserted; ++i)
            MacroBox.insert(static_cast<int>(change.at + i), listText(change.at + i));
        SendMessageA(MacroBox.h, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(MacroBox.h, nullptr, TRUE);
    }
    MacroBox.select(script_.selected());
    updateSaveItems();
}

void VexaForm::clearLines() { apply(script_.assign({})); }

void VexaForm::setScript(std::vector<std::string> lines) {
    breakpoints_.clear();
    apply(script_.assign(std::move(lines)));
    SetButtons();
}

void VexaForm::AddBtnClick() {
    ScriptLine.clear();
    const bool listFocused = GetFocus() == MacroBox.h;
    switch (taskloom::AddBtnRoute(activeCaption(), listFocused)) {
        case taskloom::AddRoute::Command:
            AddCommandClick();
            return;
        case taskloom::AddRoute::Menu:
            AddMenuClick();
            return;
        case taskloom::AddRoute::Popup: {
            taskloom::PopupPage page = readPopup();
            taskloom::KeyFields keys = readKeys(false);
            apply(taskloom::AddPopupBlock(script_, keys, page));
            writePopup(page);
            writeKeys(keys);
            break;
        }
        case taskloom::AddRoute::Duplicate:
            apply(script_.duplicateSelected());
            break;
        case taskloom::AddRoute::Switch:
            SwitchBtnClick();
            AddLine();
            break;
        case taskloom::AddRoute::Plain:
            AddLine();
            break;
    }
    MacroBoxClick();
}

void VexaForm::AddLine() {
    // The count goes into the line only on the Keys page.
    const bool keysPage = activeCaption() == "Keys";
    taskloom::KeyFields keys = readKeys(keysPage);
    apply(taskloom::AddLine(script_, keys, ScriptLine, keysPage));
    writeKeys(keys);
}

void VexaForm::DelBtnClick() {
    apply(script_.deleteSelected());
    MacroBoxClick();
}

void VexaForm::UpBtnClick() {
    apply(script_.moveUp());
    MacroBoxClick();
}

void VexaForm::DownBtnClick() {
    apply(script_.moveDown());
    MacroBoxClick();
}

void VexaForm::TestBtnClick() {
    if (testing_) {
        // The button reads "&Abort": the run stops before its next line.
        engine_->requestStop();
        return;
    }
    runInList(taskloom::RunKind::Test);
}

taskloom::RunOutcome VexaForm::runWithAbort(taskloom::RunKind kind) {
    testing_ = true;
    wingui::SetText(TestBtn, "&Abort");
    ModifyMenuA(menu_, IDM_TEST, MF_BYCOMMAND | MF_STRING, IDM_TEST, "&Abort");
    struct Restore {
        VexaForm& f;
        ~Restore() {
            f.testing_ = false;
            if (!f.hwnd()) return;  // the window went while the script ran
            // The last line run is shown, whatever showing it waited for.
            if (f.runViewPending_) f.showRunningLine(true);
            wingui::SetText(f.TestBtn, "&Test");
            ModifyMenuA(f.menu_, IDM_TEST, MF_BYCOMMAND | MF_STRING, IDM_TEST, "&Test");
            // A destructor must not throw: a failure is reported, as in every handler.
            wingui::Guarded(f.hwnd(), [&] { f.SetButtons(); });
        }
    } restore{*this};
    struct DialogKeys {
        HWND previous = tRunningForm;
        wingui::ScopedHook hook;
        explicit DialogKeys(HWND form)
            : hook(SetWindowsHookExA(WH_GETMESSAGE, RunDialogKeys, nullptr, GetCurrentThreadId())) {
            tRunningForm = form;
        }
        ~DialogKeys() { tRunningForm = previous; }
    } dialogKeys{hwnd()};
    return taskloom::RunInComposer(*engine_, kind, script_, breakpoints_);
}

void VexaForm::MacroBoxClick() {
    // A click of the user's has moved the list box's selection. While the
    // list lags behind a running script, its selection is not the user's.
    if (!runSelecting_ && !runViewPending_ && MacroBox.selected() != script_.selected())
        script_.select(MacroBox.selected());
    script_.selectFirstIfNone();
    if (runSelecting_)
        showRunningLine(false);
    else
        showSelection();
    SetButtons();
    if (!script_.hasSelection()) return;
    taskloom::PopupPage page = readPopup();
    // A header whose numbers do not convert throws; the page keeps its values.
    if (taskloom::ReadPopupBlock(script_.lines(), static_cast<std::size_t>(script_.selected()), page))
        writePopup(page);
}

void VexaForm::setPanel(int part, const std::string& text) {
    if (StatusBar.text(part) != text) StatusBar.setText(part, text);
}

void VexaForm::showSelection() {
    if (runViewPending_) {
        runViewPending_ = false;
        KillTimer(hwnd(), kRunViewTimer);
    }
    if (MacroBox.selected() != script_.selected()) MacroBox.select(script_.selected());
    if (!script_.empty()) setPanel(0, taskloom::LinePanelText(script_));
}

void VexaForm::showRunningLine(bool now) {
    if (!now && GetTickCount64() < runViewDue_) {
        if (!runViewPending_) SetTimer(hwnd(), kRunViewTimer, static_cast<UINT>(kRunViewMs), nullptr);
        runViewPending_ = true;
        return;
    }
    const ULONGLONG start = GetTickCount64();
    // A line outside the list's view is brought to the top of it, a page at
    // a time, so that the lines after it need no scroll.
    if (script_.hasSelection()) {
        const int i = script_.selected();
        const int top = static_cast<int>(SendMessageA(MacroBox.h, LB_GETTOPINDEX, 0, 0));
        RECT client{};
        GetClientRect(MacroBox.h, &client);
        const int itemHeight = static_cast<int>(SendMessageA(MacroBox.h, LB_GETITEMHEIGHT, 0, 0));
        const int visible = itemHeight > 0 ? (client.bottom - client.top) / itemHeight : 1;
        if (i < top || i >= top + (visible > 0 ? visible : 1))
            SendMessageA(MacroBox.h, LB_SETTOPINDEX, static_cast<WPARAM>(i), 0);
    }
    showSelection();
    const ULONGLONG cost = GetTickCount64() - start;
    runViewDue_ = GetTickCount64() + (3 * cost > kRunViewMs ? 3 * cost : kRunViewMs);
}

void VexaForm::selectRunningLine(std::size_t index) {
    script_.select(static_cast<int>(index));
    runSelecting_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{runSelecting_};
    MacroBoxClick();
}

}  // namespace loomwright
