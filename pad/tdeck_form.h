// Tessdeck's pad form (TDeckForm, caption "Tessdeck"): a small borderless,
// always-on-top window with no task bar button, holding the menu image
// (VexaImage), the clips image (PadImage), the MoreOrLess up-down and the
// bar of icon buttons (ToolBar1), with the hidden clips pane below. One
// form object owns every component, the pad's engine and the note form; its
// handlers keep the names the pad's users and developers know.
//
// The form is spread over files by concern:
//   tdeck_form.cpp    creation, components, the one message dispatch (the
//                     parts it hands messages to live with their concern),
//                     start-up
//                     (CreatePadClick), exit (QuitBtnClick), Help, About
//   pad_registry.*    the pad's registry entries
//   pad_loading.cpp   OpenPadClick, EnableCheck, RegKeys, AdjustTheBar and
//                     the bar's reorderings, moving and sizing
//   pad_menus.cpp     PopupMenu: its commands, check marks and shortcuts
//   pad_host.*        the Host through which the engine runs a script
//   pad_launch.cpp    launching icons and scripts, the hot keys' dispatch,
//                     the tray icon, auto-start and the contact commands
//   pad_clipboard.cpp clipboard watching and the idle work
//   pad_clips.cpp     the clips pane, its menu and keys, its saves
//   pad_portable.cpp  the portable pad's settings file, exporting and
//                     importing the settings
//
// The decisions (pad text, shortcut text, the Settings value, the layout
// arithmetic) are the portable core's; the handlers read the controls, call
// one core function and write the result back.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pad/model/clips_pane.h"
#include "engine/desktop.h"
#include "engine/engine.h"
#include "pad/model/pad_layout.h"
#include "pad/model/pad_settings.h"
#include "win32/note_form.h"
#include "pad/pad_registry.h"
#include "taskloom_version.h"
#include "wingui/handles.h"
#include "wingui/window.h"

namespace tessdeck {

class PadHost;

// The pad's caption, its version line and the maker's addresses.
inline constexpr const char* kPadCaption = "Tessdeck";
inline constexpr const char* kVersionText = " Version: " TASKLOOM_VERSION;
inline constexpr const char* kMakerNotice = "Taskloom, free desktop automation";
inline constexpr const char* kWebSite = "https://taskloom.org/";
inline constexpr const char* kMailAddress = "mailto:tessdeck@taskloom.org";
inline constexpr const char* kHelpFile = TASKLOOM_PAD_HELP;  // beside the program
// Command identifiers of the bar's buttons: the first plus the position.
inline constexpr int kBarButtonFirstId = 5000;

// How the pad was started.
struct PadStart {
    std::vector<std::string> args;  // the command-line arguments
    std::string programPath;        // the program's folder and file name
    RegistryRoots roots;            // where the settings are kept
    bool postQuit = true;           // the exit ends the thread's message loop
};

class TDeckForm final : public wingui::Window {
public:
    // Creates the form (hidden) and runs the start-up sequence. When it ends
    // in the exit sequence (/uninstall, a script run) exited() is true.
    // Throws std::runtime_error when a window cannot be made.
    TDeckForm(taskloom::Desktop& desktop, PadStart start);
    ~TDeckForm() override;

    bool exited() const { return exited_; }
    // The pad's shortcut keys: true when the message was one.
    bool translate(MSG& msg);

    // A menu command, as if its item had been chosen; grayed items do
    // nothing.
    void command(int id);

    // What the pad shows and keeps, for its own files and the tests.
    const std::vector<taskloom::BarButton>& bar() const { return bar_; }
    const std::vector<taskloom::PadSlot>& slots() const { return slots_; }
    const std::vector<int>& storeTags() const { return storeTags_; }
    int position() const;
    int maximum() const { return maximum_; }
    std::string moreOrLessHint() const { return hint_; }
    HWND toolBar() const { return toolBar1_; }
    HWND moreOrLess() const { return moreOrLess_; }
    HMENU popupMenu() const { return popup_; }
    const std::string& padFile() const { return openDialogFile_; }
    const taskloom::PadSettings& settings() const { return settings_; }
    const std::string& settingsProblem() const { return settingsProblem_; }
    bool flat() const { return flat_; }
    Hive hive() const { return hive_; }
    taskloom::Engine& engine() { return *engine_; }
    taskloom::NoteForm* note() { return note_.get(); }
    std::vector<std::string>& macroBox() { return macroBox_; }
    const std::string& programDir() const { return programDir_; }
    std::string aboutText() const;

    // Handlers, named as in the pad.
    void CreatePadClick();
    void QuitBtnClick();
    void OpenPadClick(bool fromMenu);
    // The pad file `name` into the bar; asked for first with the open
    // dialog (proposing it) when `ask` or when it does not exist.
    void openPad(std::string name, bool ask);
    void EnableCheck();
    // Answers whether the key was registered.
    bool RegKeys(const std::string& keyText, int slot);
    void AdjustTheBar(int p);
    void MoreOrLessClick();
    void ExpandClick();
    void ShrinkClick();
    void BarLeftClick();
    void BarRightClick();
    void SwapIcons12();
    void FlatClick();
    void MoveTBarClick();
    void RunDblClick();
    void SizeClick();
    void ResizeClick();
    void AutoHideClick();
    void ShowOrHide();
    void HelpContents();
    void HelpAbout();
    void RunIt(const std::string& path);
    // Help, "Hot Key Report...": each icon's key and whether it works.
    void HotKeyReportClick();
    // The keys that could not be registered (another program held them)
    // are tried again: after the session is unlocked and after a resume.
    void RetryHotKeys();
    // The hint bar icon `index` shows: its description and key, marked
    // " (in use)" while another program holds the key.
    std::string iconHint(std::size_t index) const;
    std::string hotKeyReport() const;
    bool showHideHeld() const { return showHideHeld_; }

    // Launching, hot keys, tray
    // The tray icon's callback message (WM_USER + 78) and its identifier.
    static constexpr UINT kTrayMessage = WM_USER + 78;
    static constexpr UINT kTrayIconId = 1;
    // A click on a bar icon, launched after the bar's own handling.
    static constexpr UINT kLaunchMessage = WM_APP + 1;
    // Posted at the end of the start-up: the first paint, then what the pad
    // needs only once it shows (the hints).
    static constexpr UINT kAfterShowMessage = WM_APP + 2;
    void IconBtnClick();
    // Hands the text to the shell; answers whether the shell started it
    // (its failures are not shown).
    bool ExecProgram(const std::string& text);
    void HotKeyMessage(int id);
    void TrayIconMessage(LPARAM mouse);
    void SetTrayIcon();
    void RunIconClick();
    void AutoStartClick();
    void AutoDialClick();
    void VisitUs();
    void MailUs();

    // Portable settings (pad_portable.cpp). With tessdeck.ini beside the
    // program the pad keeps "Pad" and "Settings" there and writes nothing
    // into the registry.
    bool portable() const { return portable_; }
    // "Export Settings..." and "Import Settings...": the settings in use and
    // the pad file, written to or taken from a file the user chooses.
    void ExportSettingsClick();
    void ImportSettingsClick();
    // The same with the file given. The export throws taskloom::FileError
    // when the file cannot be written; the import throws (a FileError, or a
    // std::runtime_error saying what is wrong with the file) and changes
    // nothing when the file cannot be read, does not hold sound settings, or
    // they cannot be kept; else they are kept and take effect at once.
    void exportSettingsTo(const std::string& file);
    void importSettingsFrom(const std::string& file);
    // The hint the pad shows for the menu item under the mouse ("" none).
    const std::string& menuHint() const { return menuHint_; }
    HWND menuTip() const { return menuTip_; }
    bool trayIconShown() const { return trayIcon_; }
    bool shown() const { return shown_; }

private:
    // Every message of the form's window. handle() offers it to the parts
    // below in turn; a part answers the message's result when it took it,
    // nothing when the default handling follows.
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
    using MessagePart = std::optional<LRESULT> (TDeckForm::*)(UINT msg, WPARAM wp, LPARAM lp);
    // The images, the up-down, the bar, the menus, the mouse and the cursor.
    std::optional<LRESULT> onFormMessage(UINT msg, WPARAM wp, LPARAM lp);
    // Closing and the end of the session.
    std::optional<LRESULT> onLifeMessage(UINT msg, WPARAM wp, LPARAM lp);
    void onCommand(int id, int code, HWND control);
    bool onSetCursor(HWND over, UINT hitTest);
    void createControls();
    void makeHints();
    void afterShow();
    // Start-up: the form as a new pad's, then the settings read. The reading
    // answers false when the start-up ended in the exit ("/uninstall").
    void resetForStart();
    bool readSettings(const std::string& arg);
    void applySettings(const std::string& value);
    void saveSettings();
    // The settings as the exit keeps them: the window's place and the
    // icons shown (when the pad was placed), the delimiter and the marks.
    taskloom::PadSettings currentSettings();
    // "Pad" and "Settings" into the portable settings file or the registry;
    // throws when they cannot be kept.
    void keepSettings(const std::string& pad, const taskloom::PadSettings& s);
    void readPortableSettings();
    void readRegistrySettings();
    void uninstallPad();  // "/uninstall"
    void menuSelect(UINT item, UINT flags, HMENU menu);
    void hideMenuHint();
    void emptyBar();
    // A loaded pad into the bar: its icons, their hot keys, all shown.
    void showPad(const taskloom::PlacedPad& placed);
    void refreshBar();
    void setHint(const std::string& hint);
    void openPopupMenu(POINT screen);
    void setChecked(int id, bool on);
    bool checked(int id) const;
    void showMenuChecks();
    // The delimiter in use, which a script may have changed, becomes the
    // checked "&Delimiter" item (none for one that no item names) and the
    // one the settings keep (one they can hold).
    void followDelimiter();
    LRESULT onNotify(NMHDR* n);
    void drawImage(const DRAWITEMSTRUCT* d);
    int px(int at96) const;
    int unscale(int px) const;
    // The open dialog for a pad file, proposing `name` in its folder; the
    // chosen path into `name`.
    bool askPadFile(std::string& name);

    taskloom::Desktop& desktop_;
    PadStart start_;
    std::string programDir_;
    std::unique_ptr<PadHost> host_;
    std::unique_ptr<taskloom::Engine> engine_;
    std::unique_ptr<taskloom::NoteForm> note_;
    std::vector<std::string> macroBox_;

    int dpi_ = 96;
    HWND vexaImage_ = nullptr;
    HWND padImage_ = nullptr;
    HWND moreOrLess_ = nullptr;
    HWND toolBar1_ = nullptr;
    HWND pgmName_ = nullptr;
    HWND clips_ = nullptr;
    HWND tips_ = nullptr;
    HMENU popup_ = nullptr;
    wingui::ScopedMenu menuOwned_;
    wingui::ScopedAccelerators accelerators_;
    wingui::ScopedImageList images_;
    HCURSOR vexaCursor_ = nullptr;
    HICON programIcon_ = nullptr;  // shared, from the program's resources
    wingui::ScopedIcon clipsIcon_;
    HMODULE richEdit_ = nullptr;

    // The bar's buttons and the store: slot i's program text and hot key,
    // and the identifier registered for it (0: none).
    std::vector<taskloom::BarButton> bar_;
    std::vector<taskloom::PadSlot> slots_;
    std::vector<int> storeTags_;
    int maximum_ = 0;
    std::string hint_;
    bool flat_ = false;
    bool shown_ = true;
    bool viewClips_ = false;
    bool showHideHeld_ = false;  // the pad holds its show/hide key
    bool sessionWatch_ = false;  // told of the session's lock and unlock
    // Registers the keys of the pad's icons that it does not hold yet.
    void registerIconKeys();
    void watchSession(bool on);

    std::string openDialogFile_;
    taskloom::PadSettings settings_;
    std::string settingsProblem_;
    Hive hive_ = Hive::Machine;
    bool portable_ = false;
    bool forget_ = false;  // the exit keeps nothing (a portable pad's /uninstall)
    std::string menuHint_;
    HWND menuTip_ = nullptr;
    bool exited_ = false;
    bool saved_ = false;
    bool placed_ = false;  // shown at the saved place (not a script run)

    // Launching, hot keys, tray
    // The global hot keys, the bar's launch, the session's unlock and the
    // computer's resume.
    std::optional<LRESULT> onLaunchMessage(UINT msg, WPARAM wp, LPARAM lp);
    // The tray icon's callback.
    std::optional<LRESULT> onTrayMessage(UINT msg, WPARAM wp, LPARAM lp);
    void bringToFront();
    void installHotKeyHook();
    void removeHotKeyHook();
    void removeTrayIcon();
    bool locateScript(std::string& path);
    wingui::ScopedHook hotKeyHook_;
    bool trayIcon_ = false;

    // Clips pane and clipboard (pad_clips.cpp, pad_clipboard.cpp). From
    // startClips() to endClips() the form's dispatch hands them the
    // clipboard chain's messages and the clips image's and pane's
    // notifications, and the pane's own subclass its menu and keys.
public:
    void ClipboardChanged();
    void ViewClipsClick();
    void SetViewClips();
    void UpdateLinePos();
    void NewClipLine();
    void ClipsAdd();
    void ClipsClearAllClick();
    void ClipsSelectAll();
    void ClipsFirstClick();
    void ClipsLastClick();
    void ClipsCopyItemClick();
    void RunItemClick();
    void SaveTextClick();
    void SaveCommaClick();
    void AutoAddClick();
    void AutoCopyClick();
    void ClipsSizeClick(int id);  // K4Click, K20Click, K50Click
    void ClipsSize();
    void DelimiterClick(int id);  // DelNewLineClick and siblings
    void AutoDial(const std::string& clip);
    void PadIdle();
    // A command of the pane's menu (ClipsMenu), as if chosen; grayed items
    // do nothing.
    void clipsCommand(int id);
    HWND clipsPane() const { return clips_; }
    HWND clipsImage() const { return padImage_; }
    HMENU clipsMenu() const { return clipsMenu_; }
    std::string clipsText() const;
    const std::string& clipsHint() const { return clipsHint_; }
    HWND pasteTarget() const { return pasteTarget_; }
    // The dialog and files of the clips saves; tests put in their own.
    void setClipsSaveSystem(taskloom::ClipsSaveSystem* system) { saveSystem_ = system; }

private:
    void startClips();
    void endClips();
    void addClipText(const std::string& clip);
    void setClipsHint(const std::string& hint);
    void updateLinePos(const std::string& pane);  // UpdateLinePos for this text
    void openClipsMenu(POINT screen);
    void saveClips(taskloom::ClipsSaveMode mode);
    // The clipboard viewer chain's messages, and the form's end.
    std::optional<LRESULT> onClipboardMessage(UINT msg, WPARAM wp, LPARAM lp);
    // The clips image's click and hint, the pane's selection changes.
    std::optional<LRESULT> onClipsMessage(UINT msg, WPARAM wp, LPARAM lp);
    // The pane's own window: its menu, its commands and shortcut keys.
    bool onPaneMessage(UINT msg, WPARAM wp, LPARAM lp);

    wingui::ScopedMenu clipsMenuRoot_;
    HMENU clipsMenu_ = nullptr;
    HWND nextViewer_ = nullptr;
    bool inChain_ = false;
    bool clipsStarted_ = false;  // from startClips() to endClips()
    bool paneSubclassed_ = false;
    taskloom::ClipboardWatch watch_{0};  // the suppress mark and the last copy seen
    HWND pasteTarget_ = nullptr;
    bool clipsFull_ = false;
    std::string clipsHint_;
    std::string paneText_;  // the pane's text as the pad last wrote or read it
    std::string lastClipsFile_;
    std::unique_ptr<taskloom::ClipsSaveSystem> ownSaveSystem_;
    taskloom::ClipsSaveSystem* saveSystem_ = nullptr;
    unsigned idleCounter_ = 0;
    // End of the clips pane and clipboard.
};

}  // namespace tessdeck
