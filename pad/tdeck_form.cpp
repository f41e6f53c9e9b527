#include "pad/tdeck_form.h"

#include <richedit.h>
#include <shellapi.h>
#include <wtsapi32.h>

#include <cctype>
#include <ctime>
#include <stdexcept>

#include "engine/filestore.h"
#include "pad/model/hot_key_check.h"
#include "pad/model/pad_text.h"
#include "pad/model/shortcut_text.h"
#include "engine/text.h"
#include "pad/pad_host.h"
#include "pad/pad_settings_store.h"
#include "resources/tessdeck_ids.h"
#include "wingui/controls.h"
#include "wingui/dpi.h"
#include "wingui/error_report.h"
#include "wingui/icon_list.h"
#include "wingui/startup_trace.h"
#include "win32/system_library.h"

namespace tessdeck {

namespace {

const char* const kFormClass = "TDeckForm";
// Borderless, on top of every other window, no task bar button (a tool
// window); the tray icon takes the button's place.
constexpr DWORD kFormStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;

// The form layout, in pixels at 96 DPI: client 114 by 100 at (428, 47).
constexpr int kDesignLeft = 428, kDesignTop = 47, kDesignWidth = 114, kDesignHeight = 100;

enum ControlId { kVexaImageId = 10, kPadImageId, kMoreOrLessId, kToolBar1Id, kPgmNameId, kClipsId };

}  // namespace

TDeckForm::TDeckForm(taskloom::Desktop& desktop, PadStart start)
    : desktop_(desktop), start_(std::move(start)) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    programIcon_ = LoadIconA(instance, "MAINICON");
    create(kFormClass, kPadCaption, kFormStyle, kFormExStyle, kDesignLeft, kDesignTop, kDesignWidth,
           kDesignHeight, nullptr, nullptr, programIcon_, CS_DBLCLKS);
    dpi_ = wingui::DpiOf(hwnd());
    SetWindowPos(hwnd(), nullptr, 0, 0, px(kDesignWidth), px(kDesignHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    wingui::StartupStep("window class and form");

    host_ = std::make_unique<PadHost>(*this);
    engine_ = std::make_unique<taskloom::Engine>(desktop_, *host_);
    createControls();
    CreatePadClick();
    wingui::StartupStep("CreatePadClick done");
}

TDeckForm::~TDeckForm() {
    watchSession(false);
    removeTrayIcon();
    removeHotKeyHook();
    endClips();
    emptyBar();
    UnregisterHotKey(nullptr, taskloom::kShowHideHotKeyId);
    engine_.reset();
    note_.reset();
    // The bar's image list, the clips icon and the menus go after the
    // window that shows them.
    if (hwnd()) DestroyWindow(hwnd());
}

int TDeckForm::px(int at96) const { return wingui::Scale(at96, dpi_); }
int TDeckForm::unscale(int p) const { return (p * 96 + dpi_ / 2) / dpi_; }

void TDeckForm::createControls() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND form = hwnd();
    auto child = [&](const char* cls, DWORD style, DWORD ex, int id, int x, int y, int w, int h) {
        HWND c = CreateWindowExA(ex, cls, "", WS_CHILD | style, px(x), px(y), px(w), px(h), form,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (!c) throw std::runtime_error(std::string("cannot create the pad's ") + cls);
        return c;
    };
    vexaImage_ = child("STATIC", WS_VISIBLE | SS_OWNERDRAW | SS_NOTIFY, 0, kVexaImageId, 0, 0, 13, 12);
    padImage_ = child("STATIC", WS_VISIBLE | SS_OWNERDRAW | SS_NOTIFY, 0, kPadImageId, 12, 0, 13, 12);
    moreOrLess_ = child(UPDOWN_CLASSA, WS_VISIBLE | UDS_HORZ, 0, kMoreOrLessId, 0, 12, 25, 14);
    toolBar1_ = child(TOOLBARCLASSNAMEA,
                      WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0,
                      kToolBar1Id, 24, 0, 2, 23);
    pgmName_ = child("EDIT", WS_DISABLED | ES_AUTOHSCROLL, 0, kPgmNameId, 0, 0, 10, 10);
    wingui::StartupStep("images, up-down, bar, transfer field");
    // The clips pane: read-only plain text, no word wrap, 4K, hidden.
    richEdit_ = LoadLibraryA("riched20.dll");
    wingui::StartupStep("rich edit library");
    clips_ = child(richEdit_ ? RICHEDIT_CLASSA : "EDIT",
                   ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL,
                   WS_EX_CLIENTEDGE, kClipsId, 2, 24, 112, 75);
    SendMessageA(clips_, EM_EXLIMITTEXT, 0,
                 static_cast<LPARAM>(taskloom::ClipsSizeLimit(taskloom::ClipsSize::K4)));
    wingui::StartupStep("clips pane");

    SendMessageA(toolBar1_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    images_.reset(wingui::MakeIconImageList(px(16)));
    SendMessageA(toolBar1_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
    SendMessageA(toolBar1_, TB_SETINDENT, px(2), 0);
    SendMessageA(toolBar1_, TB_SETBUTTONSIZE, 0, MAKELPARAM(px(23), px(22)));
    wingui::StartupStep("icon image list");

    clipsIcon_.reset(
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(3001), IMAGE_ICON, px(16), px(16), 0)));

    // The hints of the two images and the up-down are made once the pad
    // shows (makeHints): a hint shows only under the mouse.
    menuOwned_.reset(LoadMenuA(instance, MAKEINTRESOURCEA(IDR_POPUPMENU)));
    if (!menuOwned_) throw std::runtime_error("the pad's menu is missing from its resources");
    popup_ = GetSubMenu(menuOwned_.get(), 0);
    accelerators_.reset(LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS)));
    wingui::StartupStep("clips icon, menus");
}

void TDeckForm::makeHints() {
    if (tips_ || !hwnd()) return;
    tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            0, 0, 0, 0, hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
    // The texts as they stand now: the clips image's comes from clipsHint_
    // while the pad watches the clipboard, the up-down's is its hint once
    // the bar has been laid out.
    const char* clips = clipsStarted_ ? LPSTR_TEXTCALLBACKA : "Clips";
    const char* upDown = hint_.empty() ? "Tessdeck" : hint_.c_str();
    for (auto [w, text] : {std::pair{vexaImage_, "Menu"}, {padImage_, clips}, {moreOrLess_, upDown}}) {
        TOOLINFOA ti{};
        ti.cbSize = TTTOOLINFOA_V1_SIZE;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = hwnd();
        ti.uId = reinterpret_cast<UINT_PTR>(w);
        ti.lpszText = const_cast<char*>(text);
        SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void TDeckForm::afterShow() {
    if (exited_) return;
    // What the loop would paint next comes first: the bar as laid out.
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    wingui::StartupStep("first paint (after the show)");
    makeHints();
    wingui::StartupStep("hints (after the show)");
}

void TDeckForm::setHint(const std::string& hint) {
    hint_ = hint;
    // The up-down's text carries its hint too, so that screen readers and
    // other programs can read how many icons show.
    SetWindowTextA(moreOrLess_, hint.c_str());
    if (!tips_) return;  // made with this text
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(moreOrLess_);
    ti.lpszText = hint_.data();
    SendMessageA(tips_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

int TDeckForm::position() const { return wingui::UpDown{moreOrLess_}.value(); }

// --- Start-up ---------------------------------------------------------------

void TDeckForm::CreatePadClick() {
    resetForStart();
    const std::string arg = start_.args.empty() ? std::string() : start_.args[0];
    if (!readSettings(arg)) return;
    wingui::StartupStep(portable_ ? "settings file"
                                  : "registry: the pad's key, settings, Run value, .tks association");

    // A script as the argument: run it, save, end; no pad is shown.
    if (taskloom::IsScriptPath(arg)) {
        wingui::Guarded(hwnd(), [&] { RunIt(arg); });
        QuitBtnClick();
        return;
    }
    // The pad named on the command line, or the last one.
    wingui::Guarded(hwnd(), [&] { OpenPadClick(false); });
    wingui::StartupStep("pad file read and bar filled");
    // Shown at the saved place, topmost, its size unchanged.
    // What the pad needs only once it shows follows the first paint, once
    // this start-up has ended. Posted before the show: nothing posted to the
    // pad once it is seen (a close) can come first.
    PostMessageA(hwnd(), kAfterShowMessage, 0, 0);
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    shown_ = true;
    wingui::UpDown{moreOrLess_}.setValue(settings_.moreOrLess);
    SetWindowPos(hwnd(), HWND_TOPMOST, settings_.left, settings_.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    placed_ = true;
    wingui::StartupStep("pad shown");
    // Clipboard watching: the pad joins the viewer chain.
    startClips();
    wingui::StartupStep("clipboard chain");
    // The hot keys' dispatch.
    installHotKeyHook();
    // The show/hide key.
    showHideHeld_ = RegKeys(std::string(taskloom::kShowHideKeyText), -1);
    // Keys that other programs hold now are tried again when the session is
    // unlocked (and when the computer resumes, which every window is told).
    watchSession(true);
    wingui::StartupStep("hot key hook, show/hide key, session watch");
    // The bar for the saved position.
    AdjustTheBar(position());
    wingui::StartupStep("bar layout");
    // The tray icon stands in for the task bar button that the pad, a tool
    // window, does not have.
    SetTrayIcon();
    wingui::StartupStep("tray icon");
}

void TDeckForm::resetForStart() {
    // The note, its text cleared.
    note_ = std::make_unique<taskloom::NoteForm>(
        taskloom::Flavor::Pad, hwnd(),
        [this](const std::string& text) { wingui::ShowErrorReport(hwnd(), text); });
    note_->setLines({});
    wingui::StartupStep("note form");
    // MoreOrLess at maximum 0, position 0; PgmName and the pane cleared.
    maximum_ = 0;
    wingui::UpDown{moreOrLess_}.setRange(-1, 0);
    wingui::UpDown{moreOrLess_}.setValue(0);
    SetWindowTextA(pgmName_, "");
    SetWindowTextA(clips_, "");
    engine_->closeClipsFile();
    // The delimiter: carriage return. (The clipboard suppress mark and the
    // paste target are the pad's own window until clipboard watching sets
    // them.)
    engine_->setDelimiter(taskloom::kDelimiterLine);
    programDir_ = taskloom::FolderOf(start_.programPath);
    // The default position: where the form stands.
    RECT r{};
    GetWindowRect(hwnd(), &r);
    settings_ = taskloom::PadSettings{};
    settings_.left = r.left;
    settings_.top = r.top;
    // The pad's cursor, for the bar and the note's Continue button.
    vexaCursor_ = LoadCursorA(GetModuleHandleA(nullptr), "VEXA");
    note_->setContinueCursor(vexaCursor_);
    wingui::StartupStep("settings reset, cursor");
}

bool TDeckForm::readSettings(const std::string& arg) {
    // The settings: from tessdeck.ini beside the program (a portable pad,
    // which writes nothing into the registry), else from the registry.
    portable_ = IsPortable(programDir_);
    if (taskloom::IsUninstallArgument(arg)) {
        uninstallPad();
        QuitBtnClick();
        return false;
    }
    if (portable_)
        readPortableSettings();
    else
        readRegistrySettings();
    return true;
}

void TDeckForm::uninstallPad() {
    // The registry's entries are an installed pad's, not a portable one's:
    // a portable "/uninstall" leaves them, and keeps nothing on its way out.
    if (portable_)
        forget_ = true;
    else
        PadRegistry(start_.roots, kPadCaption).uninstall();
}

void TDeckForm::readRegistrySettings() {
    PadRegistry registry(start_.roots, kPadCaption);
    const PadKeyState key = registry.openPadKey(taskloom::UninstallString(start_.programPath));
    hive_ = key.hive;
    openDialogFile_ = key.existed ? key.pad : std::string();
    if (key.existed) applySettings(key.settings);
    setChecked(IDM_AUTOSTART, key.autoStart);
    registry.registerScriptFiles(taskloom::ScriptOpenCommand(start_.programPath));
}

void TDeckForm::applySettings(const std::string& value) {
    const taskloom::SettingsRead read = taskloom::ParseSettings(value);
    if (read.malformed) {
        // Start with the defaults and say so in the about box; the next exit
        // writes a sound value.
        settingsProblem_ = read.problem;
    } else if (!value.empty()) {
        settings_ = read.settings;
    }
    engine_->setDelimiter(static_cast<unsigned char>(settings_.delimiter));
    showMenuChecks();
    SendMessageA(clips_, EM_EXLIMITTEXT, 0,
                 static_cast<LPARAM>(taskloom::ClipsSizeLimit(settings_.clipsSize)));
}

void TDeckForm::watchSession(bool on) {
    if (on == sessionWatch_ || !hwnd()) return;
    // Without the sessions library the keys are tried again only on resume.
    taskloom::SystemLibrary& sessions = taskloom::SessionsLibrary();
    if (on) {
        auto watch =
            sessions.find<decltype(WTSRegisterSessionNotification)>("WTSRegisterSessionNotification");
        sessionWatch_ = watch && watch(hwnd(), NOTIFY_FOR_THIS_SESSION) != FALSE;
    } else {
        if (auto unwatch =
                sessions.find<decltype(WTSUnRegisterSessionNotification)>("WTSUnRegisterSessionNotification"))
            unwatch(hwnd());
        sessionWatch_ = false;
    }
}

// --- Exit -------------------------------------------------------------------

taskloom::PadSettings TDeckForm::currentSettings() {
    taskloom::PadSettings s = settings_;
    // A run of a script from the command line never places the pad: the
    // place and the icon count stay as they were read.
    if (placed_) {
        RECT r{};
        GetWindowRect(hwnd(), &r);
        s.left = r.left;
        s.top = r.top;
        s.moreOrLess = position();
    }
    // The delimiter in use, which a script may have set; one that the
    // settings cannot hold lasts for this session only.
    followDelimiter();
    s.delimiter = settings_.delimiter;
    s.autoAdd = checked(IDM_AUTOADD);
    s.autoCopy = checked(IDM_AUTOCOPY);
    s.autoHide = checked(IDM_AUTOHIDE);
    return s;
}

void TDeckForm::saveSettings() {
    const taskloom::PadSettings s = currentSettings();
    saved_ = true;
    if (forget_) return;
    if (!portable_) {
        PadRegistry(start_.roots, kPadCaption)
            .saveSettings(hive_, openDialogFile_, taskloom::FormatSettings(s));
        return;
    }
    // The file keeps what it held when it cannot take the new settings; the
    // user is told, since they are lost with the program.
    try {
        keepSettings(openDialogFile_, s);
    } catch (const std::exception& e) {
        wingui::ShowErrorReport(hwnd(), std::string("The settings could not be saved: ") + e.what() +
                                            ".\nThe settings file keeps the settings it held before.");
    }
}

void TDeckForm::QuitBtnClick() {
    if (exited_) return;
    exited_ = true;
    // A running script ends before its next line.
    engine_->requestStop();
    // The note goes. One that a script is waiting on is answered Abort
    // first; its wait is still on the stack below this handler (exit can be
    // chosen from inside it), so the form is destroyed only once the run
    // has unwound (RunIt).
    if (note_ && note_->waiting())
        note_->postAbort();
    else
        note_.reset();
    // The pad leaves the clipboard viewer chain.
    endClips();
    // "Pad" and "Settings" into the pad's key, if it is there.
    saveSettings();
    // The tray icon goes, and with it the hot keys' dispatch.
    removeTrayIcon();
    removeHotKeyHook();
    watchSession(false);
    // The program ends.
    emptyBar();
    UnregisterHotKey(nullptr, taskloom::kShowHideHotKeyId);
    showHideHeld_ = false;
    if (start_.postQuit) PostQuitMessage(0);
    ShowWindow(hwnd(), SW_HIDE);
}

// --- Help -------------------------------------------------------------------

void TDeckForm::HelpContents() {
    const std::string file = programDir_ + kHelpFile;
    auto shellExecute = taskloom::Shell32Library().function<decltype(ShellExecuteA)>("ShellExecuteA");
    const auto result = reinterpret_cast<INT_PTR>(
        shellExecute(hwnd(), "open", file.c_str(), nullptr, programDir_.c_str(), SW_SHOWNORMAL));
    if (result <= 32) throw std::runtime_error("The help file " + file + " cannot be opened.");
}

std::string TDeckForm::aboutText() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    std::string text = std::string(kPadCaption) + kVersionText + "\n" + kMakerNotice + ", " +
                       std::to_string(local.tm_year + 1900) + "\n" + kWebSite;
    // The problem is told as the settings reader says it: "the saved
    // settings could not be read (...); the pad starts with its defaults".
    if (!settingsProblem_.empty()) {
        std::string problem = settingsProblem_;
        problem[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(problem[0])));
        text += "\n\n" + problem + ".";
    }
    if (portable_)
        text += "\n\nPortable: the settings are kept in " + PortableSettingsPath(programDir_) +
                "; nothing is written into the registry.";
    return text;
}

void TDeckForm::HelpAbout() {
    MessageBoxA(hwnd(), aboutText().c_str(), kPadCaption, MB_OK | MB_ICONINFORMATION);
}

// --- Messages ---------------------------------------------------------------

bool TDeckForm::translate(MSG& msg) {
    // Only keys meant for the pad: Ins and Del in the note stay keys.
    if (!hwnd() || !accelerators_ || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
    return TranslateAcceleratorA(hwnd(), accelerators_.get(), &msg) != 0;
}

void TDeckForm::drawImage(const DRAWITEMSTRUCT* d) {
    FillRect(d->hDC, &d->rcItem, GetSysColorBrush(COLOR_BTNFACE));
    HICON icon = d->CtlID == kVexaImageId ? programIcon_ : clipsIcon_.get();
    if (icon)
        DrawIconEx(d->hDC, d->rcItem.left, d->rcItem.top, icon, d->rcItem.right - d->rcItem.left,
                   d->rcItem.bottom - d->rcItem.top, 0, nullptr, DI_NORMAL);
}

LRESULT TDeckForm::onNotify(NMHDR* n) {
    if (n->hwndFrom != toolBar1_ && n->code == TTN_GETDISPINFOA) {
        // The bar's tooltips: the hint of the button under the mouse.
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(n);
        const int i = static_cast<int>(n->idFrom) - kBarButtonFirstId;
        static std::string shown;
        shown = i >= 0 ? taskloom::TooltipText(iconHint(static_cast<std::size_t>(i))) : std::string();
        info->lpszText = shown.data();
        return 0;
    }
    return 0;
}

LRESULT TDeckForm::handle(UINT msg, WPARAM wp, LPARAM lp) {
    // The clipboard chain and the clips pane first: they take some of the
    // notifications and commands of the form's own controls.
    static constexpr MessagePart kParts[] = {
        &TDeckForm::onClipboardMessage, &TDeckForm::onClipsMessage, &TDeckForm::onLaunchMessage,
        &TDeckForm::onTrayMessage,      &TDeckForm::onFormMessage,  &TDeckForm::onLifeMessage,
    };
    for (const MessagePart part : kParts)
        if (const std::optional<LRESULT> result = (this->*part)(msg, wp, lp)) return *result;
    return DefWindowProcA(hwnd(), msg, wp, lp);
}

void TDeckForm::onCommand(int id, int code, HWND control) {
    if (control == vexaImage_ || control == padImage_) {
        if (code == STN_DBLCLK) {
            RunDblClick();
        } else if (code == STN_CLICKED && id == kVexaImageId) {
            RunIconClick();
        }
        return;
    }
    if (control == toolBar1_ && id >= kBarButtonFirstId) {
        // Launched once the bar has finished with the click: a script run
        // holds the thread, and an exit or another pad chosen meanwhile
        // empties the bar, which must not happen under the bar's own
        // handling of the click.
        PostMessageA(hwnd(), kLaunchMessage, 0, 0);
        return;
    }
    if (!control || control == toolBar1_) command(id);
}

bool TDeckForm::onSetCursor(HWND over, UINT hitTest) {
    if (over == toolBar1_ && vexaCursor_) {
        SetCursor(vexaCursor_);
        return true;
    }
    if (hitTest == HTCLIENT) {
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
        return true;
    }
    return false;
}

std::optional<LRESULT> TDeckForm::onFormMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            onCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
            return 0;
        case WM_NOTIFY:
            return onNotify(reinterpret_cast<NMHDR*>(lp));
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lp) == moreOrLess_) MoreOrLessClick();
            return 0;
        case WM_DRAWITEM:
            drawImage(reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_CONTEXTMENU: {
            POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            if (pt.x == -1 && pt.y == -1) {
                RECT r{};
                GetWindowRect(hwnd(), &r);
                pt = {r.left, r.bottom};
            }
            openPopupMenu(pt);
            return 0;
        }
        case WM_MENUSELECT:
            menuSelect(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
            return std::nullopt;
        case WM_EXITMENULOOP:
            hideMenuHint();
            return std::nullopt;
        case WM_LBUTTONDBLCLK:
            RunDblClick();
            return 0;
        case WM_SETCURSOR:
            if (onSetCursor(reinterpret_cast<HWND>(wp), LOWORD(lp))) return TRUE;
            return std::nullopt;
        case WM_SIZE:
            ResizeClick();
            return 0;
        case kAfterShowMessage:
            afterShow();
            return 0;
        default:
            return std::nullopt;
    }
}

std::optional<LRESULT> TDeckForm::onLifeMessage(UINT msg, WPARAM wp, LPARAM /*lp*/) {
    switch (msg) {
        case WM_CLOSE:
            QuitBtnClick();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The session ends (log off, shut down): what the exit would
            // save is saved now, since the program may not get further.
            if (wp && !exited_) wingui::Guarded(hwnd(), [&] { saveSettings(); });
            return 0;
        default:
            return std::nullopt;
    }
}

}  // namespace tessdeck
