// Loomwright's main form (TVexaFm): the page control with its eight pages
// above, the script list with its buttons below, the status bar at the
// bottom. One form object owns the pages, the composer's engine and the
// note form; its handlers keep the names the composer's users and
// developers know (VexaInit, SetButtons, AddBtnClick, MacroBoxClick, ...).
//
// The form is spread over files by concern:
//   vexa_form.cpp     creation (VexaInit), layout, SetButtons, menus, the
//                     message dispatch, Exit, Help, About
//   script_list.cpp   AddBtnClick, AddLine, Delete, Up, Down, Test,
//                     MacroBoxClick
//   page_handlers.cpp what the controls of the Windows, Menus, Controls,
//                     Keys, Popup and Clips pages do to the list, the
//                     engine and the other pages
//   add_command.cpp   the Commands page's AddCommandClick, BrowseAllClick
//   file_commands.cpp New, Open, Save, Save As, Load Text, Paste script,
//                     Check and the question before unsaved work is dropped
//   print_script.cpp  Print
//   composer_host.*   the Host through which the engine runs the list
//   stepping.cpp      Step, Test from Here, breakpoints and the paused run
//
// Each page is a class of its own that makes its controls and reads and
// writes its fields (pages.h and tessdeck_page.h; windows_page.cpp holds
// the Windows and Menus pages, popup_clips_pages.cpp the Popup and Clips
// pages, and controls_page, commands_page, keys_page, tessdeck_page one
// each).
//
// The decisions (what a list edit, a popup block, a switch line or a key
// press does to the lines) are the portable core's; the handlers here read
// the controls, call one core function and write the result back.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "composer/model/command_builder.h"
#include "composer/model/composer_model.h"
#include "engine/desktop.h"
#include "engine/engine.h"
#include "composer/model/key_capture.h"
#include "composer/model/menu_walk.h"
#include "composer/model/stepping.h"
#include "composer/model/window_picker.h"
#include "composer/pages.h"
#include "composer/tessdeck_page.h"
#include "win32/note_form.h"
#include "taskloom_version.h"
#include "wingui/controls.h"
#include "wingui/dpi.h"
#include "wingui/handles.h"
#include "wingui/window.h"

namespace loomwright {

// Help, Contents opens this page from the composer's own folder.
inline constexpr const char* kHelpFile = TASKLOOM_COMPOSER_HELP;

class ComposerHost;

// The pages, in the page control's order; the captions are what the
// page-dependent logic compares.
enum Page { kWindowPage, kMenusPage, kCtrlPage, kCommandPage, kKeysPage, kPopPage, kClipsPage, kRunPage };

class VexaForm final : public wingui::Window {
public:
    // Creates the form (hidden), the note form and the engine, and runs
    // VexaInit. Throws std::runtime_error when a window cannot be made.
    VexaForm(taskloom::Desktop& desktop, const std::string& programDir);
    ~VexaForm() override;

    void show(int showCommand);
    // The message loop's keyboard navigation: true when the message was
    // handled as a dialog key.
    bool translate(MSG& msg);

    // --- form and page state ------------------------------------------
    void VexaInit();
    void SetButtons();
    void PageControlChange();
    void EditMenuClick(int index);
    void QuitBtnClick();
    void Contents1Click();
    void AboutClick();

    // --- script list ----------------------------------------------------
    void AddBtnClick();
    void AddLine();
    void DelBtnClick();
    void UpBtnClick();
    void DownBtnClick();
    void TestBtnClick();
    void MacroBoxClick();

    // --- stepping ---------------------------------------------------------
    // Step (F10): the selected line only; the line that runs next is
    // selected. Test from Here: from the selected line to the end. Toggle
    // Breakpoint (F9) on the selected line: a Test run pauses before it.
    void StepClick();
    void TestFromHereClick();
    void BreakpointClick();
    // Forgets a paused run (Esc, and before the list changes under it).
    void endPausedRun();
    // F10 and F9 anywhere in the form but the key fields of the Keys and
    // Tessdeck pages, where they are keys to capture: true when the
    // message was taken.
    bool translateStepKeys(MSG& msg);

    // --- Windows, Menus, Controls pages -------------------------------
    void RefreshBtnClick();
    void ViewBtnClick();
    void GetMenusClick();
    void SwitchBtnClick();
    void AddMenuClick();
    void GetMenuText();
    void ShowMenuClick();
    void ClipDosBtnClick();

    // --- Keys page ------------------------------------------------------
    // Answers whether the key was taken as a token (the field's own editing
    // then does not see it).
    bool KeyStrokesKeyUp(std::uint8_t vk);

    // --- Popup and Clips pages ----------------------------------------
    void PopTestClick();
    void ClearClipsClick();
    void ShowClips();

    // --- Commands page -------------------------------------------------
    void AddCommandClick();
    void BrowseAllClick(bool nameButton);

    // --- script files, printing, paste, check -----------------------------
    void NewMenusClick();
    void NewMacro();
    void OpenMenuClick();
    void SaveMenuClick();
    void SaveAsMenuClick();
    void LoadTextFile();
    void PrintBtnClick();
    void PasteScript();
    void CheckMenuClick();
    // The question before New, Open or closing drops unsaved work: false
    // when the user keeps the script (Cancel, or a cancelled Save dialog).
    // `unsaved`: whether there is work to ask about.
    bool MayDiscard(bool saveAs, bool unsaved);
    // Exit and the close box: the script's question when it has unsaved
    // lines, then the pad's when its icons were changed.
    bool MayQuit();
    // Selects script line `index` (from 0) as a click would.
    void selectLine(int index);
    // Makes the controls of page `index` (0 to 7) if they are not there yet.
    // The Windows page is made with the form; the others when
    // something first needs them: their showing, a handler that reads or
    // writes them, or this call.
    void ensurePage(int index);
    bool pageMade(int index) const { return index >= 0 && index < 8 && pages_[index].object; }

    // --- what the host asks ----------------------------------------------
    taskloom::Engine& engine() { return *engine_; }
    TessdeckPage& padPage();
    taskloom::NoteForm& note() { return *note_; }
    const std::string& programDir() const { return programDir_; }
    const taskloom::ScriptList& script() const { return script_; }
    void clearLines();
    // The whole list replaced (a script read in), nothing selected.
    void setScript(std::vector<std::string> lines);
    // The interpreter runs line `index`: it is selected and shown.
    void selectRunningLine(std::size_t index);
    void showTextFile(const std::vector<std::string>& lines);

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // The form's own controls: the page control, the script list, its
    // buttons and the status bar; then the Windows page.
    void createControls();
    void createFrame();
    // The form's hints (a tooltip window), made once the window shows or
    // when a page that adds its own hints is made first.
    HWND tips();
    // The page object `p`, made if it is not there yet.
    WindowsPage& windowsPage() { return pageAt<WindowsPage>(kWindowPage); }
    MenusPage& menusPage() { return pageAt<MenusPage>(kMenusPage); }
    ControlsPage& controlsPage() { return pageAt<ControlsPage>(kCtrlPage); }
    CommandsPage& commandsPage() { return pageAt<CommandsPage>(kCommandPage); }
    KeysPage& keysPage() { return pageAt<KeysPage>(kKeysPage); }
    PopupPage& popupPage() { return pageAt<PopupPage>(kPopPage); }
    template <class P>
    P& pageAt(Page p) {
        ensurePage(p);
        return static_cast<P&>(*pages_[p].object);
    }
    // The page object `p` if it is made, else null.
    template <class P>
    P* madePage(Page p) const {
        return static_cast<P*>(pages_[p].object.get());
    }
    std::unique_ptr<FormPage> makePage(Page p);
    void onCommand(int id, int code, HWND control);
    void onMenuCommand(int id);
    // The Add Command button's sources read off the pages, and a refusal shown
    // where its fault is.
    taskloom::CommandSources commandSources();
    void showCommandRefusal(const taskloom::CommandOutcome& out);
    // The hint of the menu item chosen in an open menu, in the status bar
    // (its panels come back when the menu closes).
    void onMenuSelect(UINT item, UINT flags, HMENU menu);
    LRESULT onNotify(NMHDR* n);
    void showPage(int index);
    std::string activeCaption() const;
    // Work the form posts to itself at start-up, done once the window shows.
    static constexpr UINT kStartupMessage = WM_APP + 0x520;
    // Mirrors a change of the script into MacroBox and the File menu.
    void apply(const taskloom::ListChange& change);
    // Runs the list as `kind` says, with Test reading "&Abort" meanwhile;
    // a run that pauses selects the line that runs next.
    void runInList(taskloom::RunKind kind);
    taskloom::RunOutcome runWithAbort(taskloom::RunKind kind);
    // Before an edit reaches MacroBox: the breakpoints follow their lines
    // and a paused run, whose line numbers the edit makes stale, ends.
    void listEdited(const taskloom::ListChange& change);
    // MacroBox's text for line `index`: the line, marked for a breakpoint.
    std::string listText(std::size_t index) const;
    // SetButtons' part for stepping: the items' enabled states, and the
    // target window in the status bar while a run is paused.
    void showStepState();
    void setFormHeight(int outerHeight96);
    // The status bar's panel `part`, written only when its text changes.
    void setPanel(int part, const std::string& text);
    // The list's selection and the line panel made to show the model's
    // selection now (`showRunningLine`: when due, during a run).
    void showSelection();
    void showRunningLine(bool now);
    void fillControls(taskloom::Wnd w);
    void showControls(const std::vector<std::string>& controls);
    void setCtrlText(const std::string& text);
    // The Keys page's fields; its start values while it is not made (a
    // write of those makes nothing).
    taskloom::KeyFields readKeys(bool countUsed = true) const;
    void writeKeys(const taskloom::KeyFields& keys);
    // The hidden list of key names' choice (-1: none), kept for the Keys
    // page while it is not made.
    void chooseKey(int index);
    // The Popup page's fields; its start values while it is not made.
    taskloom::PopupPage readPopup() const;
    void writePopup(const taskloom::PopupPage& page);
    taskloom::WindowChoice readChoice();
    void writeChoice(const taskloom::WindowChoice& choice);
    std::string selectedMenuPath() const;
    void updateSaveItems();  // Save and Save As follow the modified flag
    void setScriptName(const std::string& name);

    taskloom::Desktop& desktop_;
    std::string programDir_;
    int dpi_ = 96;
    wingui::ScopedFont font_;
    wingui::ScopedFont rulerFont_;
    wingui::ScopedMenu menuOwned_;  // until the window takes it
    HMENU menu_ = nullptr;
    wingui::ScopedIcon icon_;
    std::unique_ptr<ComposerHost> host_;
    std::unique_ptr<taskloom::Engine> engine_;
    std::unique_ptr<taskloom::NoteForm> note_;

    // State shared by the composer's handlers.
    std::string ScriptLine;
    taskloom::Wnd PickedWnd = -1;
    std::string ScriptName = "New";
    taskloom::ScriptList script_;  // MacroBox's lines, selection, modified flag
    bool testing_ = false;
    taskloom::BreakpointList breakpoints_;  // in memory only, never in the file
    HACCEL stepKeys_ = nullptr;             // a resource: freed with the program
    bool pausedShown_ = false;              // panel 1 names the paused run's target
    // While a script runs, the list and the line panel follow the running
    // line at most every kRunViewMs (or three times what showing it cost)
    // and once at the end: moving a list box's selection out of its view
    // scrolls it, which costs tens of milliseconds under Wine, far more
    // than a line. A timer shows a line that runs long.
    bool runSelecting_ = false;    // MacroBoxClick called for the running line
    bool runViewPending_ = false;  // the list shows an earlier line than the model
    ULONGLONG runViewDue_ = 0;     // GetTickCount64 time the next showing may come
    static constexpr UINT_PTR kRunViewTimer = 0x5201;
    static constexpr ULONGLONG kRunViewMs = 75;

    // Components.
    wingui::TabControl PageControl;
    // The eight pages: each a window in the page control's display area and
    // the object that makes and reads its controls, made on first need.
    struct PageSlot {
        HWND window = nullptr;
        std::unique_ptr<FormPage> object;
        bool making = false;  // while its object is being made
    };
    PageSlot pages_[8];
    RECT pageArea_{};  // the page control's display area, in the form's client area
    // The control list's text while the Controls page is not made yet.
    std::string ctrlText_;
    int keyChoice_ = -1;  // the key name chosen while the Keys page is not made
    wingui::ListBox MacroBox;
    HWND sourceGroup_ = nullptr;
    HWND AddBtn = nullptr, DelBtn = nullptr, TestBtn = nullptr, PrintBtn = nullptr, UpBtn = nullptr,
         DownBtn = nullptr;
    wingui::StatusBar StatusBar;
    HWND tips_ = nullptr;
};

}  // namespace loomwright
