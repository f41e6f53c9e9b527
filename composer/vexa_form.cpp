#include "composer/vexa_form.h"

#include <richedit.h>

#include <stdexcept>

#include "composer/composer_host.h"
#include "composer/control_ids.h"
#include "composer/tessdeck_page.h"
#include "engine/lookup.h"
#include "resources/loomwright_ids.h"
#include "wingui/dpi.h"
#include "wingui/error_report.h"
#include "wingui/startup_trace.h"

namespace loomwright {

namespace {

const char kFormClass[] = "TVexaFm";
const char kDesignCaption[] = "Taskloom";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;

// The form's client area at 96 DPI. The heights 428 and 300 that the form
// takes are outer heights over a frame of caption, menu bar and border of 46
// pixels; the composer sets the client heights they give (382 and 254) and
// lets the frame add its own size, so that no theme or DPI cuts the list.
constexpr int kClientWidth = 504;
constexpr int kClientHeight = 382;
constexpr int kFrameHeight = taskloom::kFormHeight - kClientHeight;

// Places at 96 DPI, in the form's client area.
constexpr wingui::Rect96 kPageControlPlace{2, 2, 500, 250};
constexpr wingui::Rect96 kSourceGroupPlace{2, 252, 500, 108};
constexpr wingui::Rect96 kMacroBoxPlace{10, 268, 376, 88};
constexpr int kButtonLeft = 394, kButtonWidth = 51, kButtonHeight = 25, kButtonGap = 53;

HICON LoadMainIcon(int size) {
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, size, size, 0));
}

}  // namespace

VexaForm::VexaForm(taskloom::Desktop& desktop, const std::string& programDir)
    : desktop_(desktop), programDir_(programDir) {
    menuOwned_.reset(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU)));
    if (!menuOwned_) throw std::runtime_error("cannot load the main menu");
    dpi_ = wingui::DpiOf(nullptr);
    icon_.reset(LoadMainIcon(GetSystemMetrics(SM_CXICON)));

    RECT outer{0, 0, wingui::Scale(kClientWidth, dpi_), wingui::Scale(kClientHeight, dpi_)};
    AdjustWindowRectEx(&outer, kFormStyle, TRUE, kFormExStyle);
    create(kFormClass, kDesignCaption, kFormStyle, kFormExStyle, CW_USEDEFAULT, CW_USEDEFAULT,
           outer.right - outer.left, outer.bottom - outer.top, nullptr, menuOwned_.get(), icon_.get());
    menu_ = menuOwned_.release();  // the window destroys its menu
    dpi_ = wingui::DpiOf(hwnd());
    wingui::StartupStep("window class and form, menu, icon");

    host_ = std::make_unique<ComposerHost>(*this);
    engine_ = std::make_unique<taskloom::Engine>(desktop_, *host_);
    note_ = std::make_unique<taskloom::NoteForm>(
        taskloom::Flavor::Composer, hwnd(),
        [this](const std::string& text) { wingui::ShowErrorReport(hwnd(), text); });
    wingui::StartupStep("engine and note form");
    createControls();

    // Centred on the screen's work area.
    RECT work{}, r{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(hwnd(), &r);
    SetWindowPos(hwnd(), nullptr, work.left + ((work.right - work.left) - (r.right - r.left)) / 2,
                 work.top + ((work.bottom - work.top) - (r.bottom - r.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    VexaInit();
    wingui::StartupStep("VexaInit done");
}

VexaForm::~VexaForm() {
    // The engine and the note go before the window they report to.
    engine_.reset();
    note_.reset();
    if (hwnd()) DestroyWindow(hwnd());
    // The icon outlives the window that used it, and the pages' objects
    // (with the rich edit library and the pictures their controls show)
    // outlive their controls.
    icon_.reset();
    for (PageSlot& slot : pages_) slot.object.reset();
}

void VexaForm::show(int showCommand) {
    ShowWindow(hwnd(), showCommand);
    UpdateWindow(hwnd());
    wingui::StartupStep("main window shown");
}

bool VexaForm::translate(MSG& msg) {
    return translateStepKeys(msg) || IsDialogMessageA(hwnd(), &msg) != FALSE;
}

void VexaForm::createControls() {
    createFrame();
    wingui::StartupStep("page control, script list, buttons, status bar");
    // The page that shows first; the others wait for their first need (the
    // Menus page: the first title's menu walk, posted to run once the window
    // shows; the Keys page: its fields to hold something, or its showing).
    ensurePage(kWindowPage);
}

void VexaForm::ensurePage(int index) {
    if (index < 0 || index >= 8 || pages_[index].object) return;
    // A page is made once: what its making sets off (a control's notices)
    // does not make it again.
    if (pages_[index].making) throw std::logic_error("a composer page was asked for while it was being made");
    pages_[index].making = true;
    struct Made {
        bool& flag;
        ~Made() { flag = false; }
    } made{pages_[index].making};
    static const char* const kSteps[8] = {
        "Windows page controls", "Menus page controls", "Controls page controls", "Commands page controls",
        "Keys page controls",    "Popup page controls", "Clips page controls",    "Tessdeck page controls"};
    const auto p = static_cast<Page>(index);
    // The page's window over the page control's display area, then its
    // controls.
    const HWND w = wingui::CreatePageWindow(hwnd(), kIdPageFirst + index);
    SetWindowPos(w, HWND_TOP, pageArea_.left, pageArea_.top, pageArea_.right - pageArea_.left,
                 pageArea_.bottom - pageArea_.top, SWP_NOACTIVATE);
    pages_[index].window = w;
    pages_[index].object = makePage(p);
    if (p == kCtrlPage) ctrlText_.clear();  // the page shows it now
    if (p == kClipsPage) ShowClips();
    wingui::StartupStep(kSteps[index]);
}

std::unique_ptr<FormPage> VexaForm::makePage(Page p) {
    const HWND w = pages_[p].window;
    const HFONT font = font_.get();
    switch (p) {
        case kWindowPage:
            return std::make_unique<WindowsPage>(w, font, rulerFont_.get(), dpi_);
        case kMenusPage:
            return std::make_unique<MenusPage>(w, font, dpi_);
        case kCtrlPage:
            return std::make_unique<ControlsPage>(w, font, dpi_, ctrlText_);
        case kCommandPage:
            return std::make_unique<CommandsPage>(w, font, dpi_, tips());
        case kKeysPage: {
            auto keys = std::make_unique<KeysPage>(w, font, dpi_, tips(),
                                                   [this](std::uint8_t vk) { return KeyStrokesKeyUp(vk); });
            keys->selectKey(keyChoice_);
            return keys;
        }
        case kPopPage:
            return std::make_unique<PopupPage>(w, font, dpi_);
        case kClipsPage:
            return std::make_unique<ClipsPage>(w, font, dpi_);
        case kRunPage:
            break;
    }
    return std::make_unique<TessdeckPage>(w, hwnd(), font, dpi_, desktop_, programDir_, ScriptName);
}

TessdeckPage& VexaForm::padPage() { return pageAt<TessdeckPage>(kRunPage); }

void VexaForm::createFrame() {
    const HWND form = hwnd();
    // One font for the whole form, 8 points at the form's DPI; the Windows
    // page's ruler in a fixed-pitch font so its digits line up with the
    // track bar's steps.
    font_.reset(CreateFontA(-MulDiv(8, dpi_, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                            CLEARTYPE_QUALITY, 0, "Tahoma"));
    rulerFont_.reset(CreateFontA(-wingui::Scale(11, dpi_), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                 CLEARTYPE_QUALITY, FIXED_PITCH, "Courier New"));
    if (!font_ || !rulerFont_) throw std::runtime_error("cannot create the form's fonts");
    const HFONT font = font_.get();

    PageControl.h = wingui::CreateChild(form, WC_TABCONTROLA, "", WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                                        0, kIdPageControl, font);
    wingui::Place(PageControl.h, kPageControlPlace, dpi_);
    for (const char* caption : taskloom::kPageCaptions) PageControl.add(caption);
    pageArea_ = PageControl.displayArea();

    // The script list group, its buttons and the status bar.
    sourceGroup_ = wingui::CreateChild(form, "BUTTON", " Taskloom Source  ", WS_VISIBLE | BS_GROUPBOX, 0,
                                       kIdSourceGroup, font);
    wingui::Place(sourceGroup_, kSourceGroupPlace, dpi_);
    MacroBox.h = wingui::CreateChild(
        form, "LISTBOX", "",
        WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
        WS_EX_CLIENTEDGE, kIdMacroBox, font);
    wingui::Place(MacroBox.h, kMacroBoxPlace, dpi_);
    SendMessageA(MacroBox.h, LB_SETHORIZONTALEXTENT, wingui::Scale(2000, dpi_), 0);
    const struct {
        const char* caption;
        int id, column, row;
        HWND* out;
    } buttons[] = {{"&Add", kIdAddBtn, 0, 0, &AddBtn},    {"&Delete", kIdDelBtn, 1, 0, &DelBtn},
                   {"&Test", kIdTestBtn, 0, 1, &TestBtn}, {"&Print", kIdPrintBtn, 1, 1, &PrintBtn},
                   {"Up", kIdUpBtn, 0, 2, &UpBtn},        {"Down", kIdDownBtn, 1, 2, &DownBtn}};
    for (const auto& b : buttons) {
        *b.out = wingui::CreateChild(form, "BUTTON", b.caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                                     b.id, font);
        wingui::Place(*b.out,
                      {kButtonLeft + b.column * kButtonGap, 268 + b.row * 30, kButtonWidth, kButtonHeight},
                      dpi_);
    }
    StatusBar.h = wingui::CreateChild(form, STATUSCLASSNAMEA, "", WS_VISIBLE, 0, kIdStatusBar, font);
    // Panel 0 is 80 pixels; panel 1 (window title and menu path) takes the rest.
    StatusBar.setParts({wingui::Scale(80, dpi_), -1});
}

HWND VexaForm::tips() {
    if (tips_) return tips_;
    tips_ = wingui::CreateTips(hwnd());
    wingui::AddHint(tips_, DelBtn, "Delete selected line");
    wingui::AddHint(tips_, UpBtn, "Move Line  Up");
    wingui::AddHint(tips_, DownBtn, "Move Line Down");
    return tips_;
}

void VexaForm::VexaInit() {
    // The first key name chosen and the window titles listed.
    chooseKey(0);
    windowsPage().setTitles(taskloom::GetTitles(desktop_), 0);
    wingui::StartupStep("window list");
    // No line selected, no window chosen.
    MacroBox.select(-1);
    engine_->setTargetWnd(-1);
    PickedWnd = -1;
    // The menu of the first title, read once the window shows: reading
    // another program's menu and controls must not keep the composer from
    // appearing (kStartupMessage runs GetMenusClick).
    PostMessageA(hwnd(), kStartupMessage, 0, 0);
    // The Windows page in front.
    showPage(kWindowPage);
    SetButtons();
    // Nothing to save yet.
    script_.setModified(false);
    EnableMenuItem(menu_, IDM_SAVE, MF_BYCOMMAND | MF_GRAYED);
    EnableMenuItem(menu_, IDM_SAVEAS, MF_BYCOMMAND | MF_GRAYED);
    // The document name and the caption.
    ScriptName = "New";
    wingui::SetText(hwnd(), taskloom::FormCaption(ScriptName));
    // File, Load Text is enabled by the menu resource, and the Tessdeck
    // page starts its icon palette at the first icon.
    windowsPage().MatchCount();
}

void VexaForm::showPage(int index) {
    ensurePage(index);
    PageControl.setCurrent(index);
    for (int i = 0; i < 8; ++i)
        if (pages_[i].window) ShowWindow(pages_[i].window, i == index ? SW_SHOW : SW_HIDE);
}

std::string VexaForm::activeCaption() const {
    const int i = PageControl.current();
    return i < 0 ? std::string() : PageControl.caption(i);
}

void VexaForm::setFormHeight(int outerHeight96) {
    RECT outer{0, 0, wingui::Scale(kClientWidth, dpi_), wingui::Scale(outerHeight96 - kFrameHeight, dpi_)};
    AdjustWindowRectEx(&outer, kFormStyle, TRUE, kFormExStyle);
    // Only a real change: SetButtons runs for every line a script runs, and
    // a resize of a top-level window waits for the display's answer.
    RECT now{};
    GetWindowRect(hwnd(), &now);
    if (now.bottom - now.top == outer.bottom - outer.top && now.right - now.left == outer.right - outer.left)
        return;
    SetWindowPos(hwnd(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void VexaForm::SetButtons() {
    const taskloom::ButtonStates b = taskloom::SetButtons(script_, activeCaption());
    // An empty list: its panel, and no selection.
    if (script_.empty()) {
        setPanel(0, taskloom::LinePanelText(script_));
        if (MacroBox.selected() != -1) MacroBox.select(-1);
    }
    // The chosen window and menu path in the second panel.
    WindowsPage& windows = windowsPage();
    const std::string title = windows.selectedTitle();
    if (windows.selectedIndex() >= 0) {
        ScriptLine.clear();
        if (const MenusPage* menus = madePage<MenusPage>(kMenusPage); menus && menus->count() > 0)
            GetMenuText();
        setPanel(1, taskloom::WindowPanelText(title, ScriptLine));
    }
    // The buttons that act on the selected line. A stop request of a
    // running script is never overwritten by clearing the target.
    wingui::Enable(DelBtn, b.deleteEnabled);
    if (b.clearTarget && !engine_->running()) engine_->setTargetWnd(-1);
    wingui::Enable(UpBtn, b.upEnabled);
    wingui::Enable(DownBtn, b.downEnabled);
    // While a script runs, Test is its Abort and stays live.
    const bool test = b.testEnabled || testing_;
    wingui::Enable(TestBtn, test);
    const UINT state = GetMenuState(menu_, IDM_TEST, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1) || ((state & MF_GRAYED) != 0) == test)
        EnableMenuItem(menu_, IDM_TEST, MF_BYCOMMAND | (test ? MF_ENABLED : MF_GRAYED));
    // The status bar and the form's height for the page in front.
    wingui::Show(StatusBar.h, b.statusBarVisible);
    setFormHeight(b.formHeight);
    switch (b.refresh) {
        case taskloom::PageRefresh::ControlList:
            if (windows.selectedIndex() >= 0) fillControls(desktop_.findWindow(title));
            break;
        case taskloom::PageRefresh::PadCheck:
            padPage().EnableCheck();
            break;
        case taskloom::PageRefresh::CommandTree:
            commandsPage().expandTop();
            break;
        case taskloom::PageRefresh::None:
            break;
    }
    if (activeCaption() == "Clips") ShowClips();
    showStepState();
}

void VexaForm::PageControlChange() {
    if (activeCaption() == "Menus") GetMenusClick();
    SetButtons();
}

void VexaForm::EditMenuClick(int index) {
    showPage(index);
    SetButtons();
}

void VexaForm::QuitBtnClick() {
    // Unsaved work is offered to Save As first.
    if (MayQuit()) DestroyWindow(hwnd());
}

void VexaForm::Contents1Click() {
    const std::string page = programDir_ + kHelpFile;
    if (!desktop_.shellExecute(reinterpret_cast<taskloom::Wnd>(hwnd()), page, "", programDir_, SW_SHOWNORMAL))
        wingui::ShowErrorReport(hwnd(), taskloom::ShellStartFailedText(page));
}

namespace {
class AboutBox final : public wingui::Dialog {};
}  // namespace

void VexaForm::AboutClick() {
    AboutBox about;
    about.runModal(hwnd(), IDD_ABOUT);
}

void VexaForm::showTextFile(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += "\r\n";
        text += lines[i];
    }
    setCtrlText(text);
    PageControl.setCaption(kCtrlPage, "TextFile");
}

LRESULT VexaForm::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            onCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
            return 0;
        case WM_NOTIFY:
            return onNotify(reinterpret_cast<NMHDR*>(lp));
        case WM_HSCROLL:
            if (WindowsPage* windows = madePage<WindowsPage>(kWindowPage);
                windows && windows->isTrackBar(reinterpret_cast<HWND>(lp)))
                windows->MatchCount();
            return 0;
        case WM_MENUSELECT:
            onMenuSelect(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
            return 0;
        case WM_EXITMENULOOP:
            onMenuSelect(0, 0xFFFF, nullptr);
            return 0;
        case WM_TIMER:
            if (wp == kRunViewTimer) {
                if (runViewPending_) showRunningLine(true);
                KillTimer(hwnd(), kRunViewTimer);
                return 0;
            }
            return DefWindowProcA(hwnd(), msg, wp, lp);
        case kStartupMessage:
            tips();
            wingui::StartupStep("hints (posted)");
            GetMenusClick();
            wingui::StartupStep("first title's menu walk (posted)");
            return 0;
        case WM_CLOSE:
            // The close box asks as Exit does before unsaved work is dropped.
            if (MayQuit()) DestroyWindow(hwnd());
            return 0;
        case WM_DESTROY:
            // A run in progress is asked to stop; the loop then ends.
            if (engine_) {
                engine_->requestStop();
                engine_->endPausedRun();
            }
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(hwnd(), msg, wp, lp);
    }
}

namespace {

// What a menu item (or a dialog key) runs.
struct MenuAction {
    int id;
    void (VexaForm::*run)();
};

// What a control's notification runs; one control may have several rows
// (a list's selection and its double click).
struct ControlAction {
    int id;
    int code;
    void (VexaForm::*run)();
};

}  // namespace

void VexaForm::onCommand(int id, int code, HWND control) {
    if (control)
        for (PageSlot& slot : pages_)
            if (slot.object && slot.object->command(id, code, control)) return;
    if (!control) {
        onMenuCommand(id);
        return;
    }
    if ((id == kIdBrowseBtn || id == kIdParmBtn) && code == BN_CLICKED) {
        BrowseAllClick(id == kIdBrowseBtn);
        return;
    }
    static const ControlAction kActions[] = {
        {kIdAddBtn, BN_CLICKED, &VexaForm::AddBtnClick},
        {kIdDelBtn, BN_CLICKED, &VexaForm::DelBtnClick},
        {kIdUpBtn, BN_CLICKED, &VexaForm::UpBtnClick},
        {kIdDownBtn, BN_CLICKED, &VexaForm::DownBtnClick},
        {kIdTestBtn, BN_CLICKED, &VexaForm::TestBtnClick},
        {kIdPrintBtn, BN_CLICKED, &VexaForm::PrintBtnClick},
        {kIdMacroBox, LBN_SELCHANGE, &VexaForm::MacroBoxClick},
        {kIdMacroBox, LBN_DBLCLK, &VexaForm::AddBtnClick},
        {kIdTitleBox, LBN_SELCHANGE, &VexaForm::GetMenusClick},
        {kIdTitleBox, LBN_DBLCLK, &VexaForm::AddBtnClick},
        {kIdKeyBox, LBN_DBLCLK, &VexaForm::AddBtnClick},
        {kIdRefreshBtn, BN_CLICKED, &VexaForm::RefreshBtnClick},
        {kIdViewBtn, BN_CLICKED, &VexaForm::ViewBtnClick},
        {kIdCopyBtn, BN_CLICKED, &VexaForm::ClipDosBtnClick},
        {kIdPopTestBtn, BN_CLICKED, &VexaForm::PopTestClick},
        {kIdClearClipsBtn, BN_CLICKED, &VexaForm::ClearClipsClick},
    };
    for (const ControlAction& a : kActions)
        if (a.id == id && a.code == code) (this->*a.run)();
}

void VexaForm::onMenuCommand(int id) {
    if (id >= IDM_PAGE_FIRST && id <= IDM_PAGE_LAST) {
        EditMenuClick(id - IDM_PAGE_FIRST);
        return;
    }
    if (id == IDCANCEL) {  // Esc: a running script is stopped, as Abort does; a paused one ends
        if (testing_)
            TestBtnClick();
        else
            endPausedRun();
        return;
    }
    static const MenuAction kActions[] = {
        {IDM_TEST, &VexaForm::TestBtnClick},          {IDM_STEP, &VexaForm::StepClick},
        {IDM_TESTHERE, &VexaForm::TestFromHereClick}, {IDM_BREAKPOINT, &VexaForm::BreakpointClick},
        {IDM_NEW, &VexaForm::NewMenusClick},          {IDM_OPEN, &VexaForm::OpenMenuClick},
        {IDM_SAVE, &VexaForm::SaveMenuClick},         {IDM_SAVEAS, &VexaForm::SaveAsMenuClick},
        {IDM_LOADTEXT, &VexaForm::LoadTextFile},      {IDM_CHECK, &VexaForm::CheckMenuClick},
        {IDM_PASTESCRIPT, &VexaForm::PasteScript},    {IDM_EXIT, &VexaForm::QuitBtnClick},
        {IDM_CONTENTS, &VexaForm::Contents1Click},    {IDM_ABOUT, &VexaForm::AboutClick},
    };
    // Anything else (IDOK of Enter) does nothing.
    for (const MenuAction& a : kActions)
        if (a.id == id) {
            (this->*a.run)();
            return;
        }
}

void VexaForm::onMenuSelect(UINT item, UINT flags, HMENU menu) {
    const char* hint = nullptr;
    if (menu && flags != 0xFFFF && !(flags & MF_POPUP)) {
        if (item == IDM_LOADTEXT) hint = taskloom::kLoadTextHint;
        if (item == IDM_PASTESCRIPT) hint = taskloom::kPasteScriptHint;
    }
    const bool simple = SendMessageA(StatusBar.h, SB_ISSIMPLE, 0, 0) != FALSE;
    if (!hint && !simple) return;
    if (simple != (hint != nullptr)) SendMessageA(StatusBar.h, SB_SIMPLE, hint ? TRUE : FALSE, 0);
    // The simple panel's text, set once the bar shows it (before, the text
    // would go to no panel).
    if (hint) SendMessageA(StatusBar.h, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(hint));
}

LRESULT VexaForm::onNotify(NMHDR* n) {
    if (TessdeckPage* pad = madePage<TessdeckPage>(kRunPage))
        if (LRESULT result = 0; pad->notify(n, result)) return result;
    const MenusPage* menus = madePage<MenusPage>(kMenusPage);
    const CommandsPage* commands = madePage<CommandsPage>(kCommandPage);
    ControlsPage* controls = madePage<ControlsPage>(kCtrlPage);
    if (n->hwndFrom == PageControl.h && n->code == TCN_SELCHANGE) {
        showPage(PageControl.current());
        PageControlChange();
    } else if (menus && n->hwndFrom == menus->tree()) {
        if (n->code == TVN_SELCHANGEDA || n->code == TVN_SELCHANGEDW) ShowMenuClick();
        if (n->code == NM_DBLCLK) AddMenuClick();
    } else if (commands && n->hwndFrom == commands->tree()) {
        if (n->code == NM_DBLCLK) AddCommandClick();
    } else if (controls && n->hwndFrom == controls->edit() && n->code == EN_SELCHANGE) {
        controls->UpdateLineCol();
    }
    return 0;
}

}  // namespace loomwright
