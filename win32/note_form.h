// The popup note, form class TMemoPop: a small always-on-top window with a
// title, a few read-only lines (Memo1) and two buttons, Continue (Button1)
// and Abort (Button2). Two variants: the composer's fixed form with the memo
// above the buttons, and the pad's sizeable form with the buttons on top
// and a memo that follows the form's size.
//
// Each program creates one NoteForm at start-up and keeps it until it ends;
// the form is hidden between uses and keeps its last caption and lines. Its
// window is made when it is first needed (shown, or asked for with
// window()), not with the object: until then the caption and lines are kept
// here and go into the window when it is made.
// PopUpNote holds the caller, letting the thread's messages run, until the
// note is hidden again, so the program stays live while a script waits.
// The note only answers Continue or Abort; what Abort does to the run (the
// composer's stop request, the pad's emptied list) is the engine's business.
//
// Single-threaded like every form: all members except postAbort and
// window() must be called on the thread that created the form.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/host.h"

namespace taskloom {

class NoteForm {
public:
    // Shows the text of a failure that reached the form's window procedure:
    // the program's general error report.
    using ErrorReport = std::function<void(const std::string& text)>;

    // The hidden form in the composer's (Flavor::Composer) or the pad's
    // variant. `owner`: the program's main window, so that the note has no
    // taskbar button of its own; null for a program without one. `report`
    // empty: failures are shown in an error box. The window is made later
    // (see above); making it throws std::runtime_error when it cannot.
    explicit NoteForm(Flavor variant, HWND owner = nullptr, ErrorReport report = {});
    ~NoteForm();
    NoteForm(const NoteForm&) = delete;
    NoteForm& operator=(const NoteForm&) = delete;

    // Memo1: the lines shown, joined with CR LF. The programs also put a
    // loaded text file (and the pad its control list) here.
    void setLines(const std::vector<std::string>& lines);
    std::vector<std::string> lines() const;
    void setCaption(const std::string& title);

    // Sets the caption, makes this program's other stay-on-top windows
    // normal, shows the note topmost with its top-left corner at screen
    // (x, y) and its size unchanged, brings it to the foreground and waits,
    // letting messages run, until it is hidden; then the windows made
    // normal are stay-on-top again. Continue, the close
    // box and hiding by any other means answer Continue; Abort answers
    // Abort. A WM_QUIT met while waiting hides the note, is posted again for
    // the program's own loop, and answers Abort.
    NoteAnswer PopUpNote(const std::string& title, int x, int y);

    // setLines, then PopUpNote: the whole of Host::showNote.
    NoteAnswer show(const std::string& title, const std::vector<std::string>& lines, int x, int y);

    // The pad gives the Continue button its own mouse cursor; null: the
    // button's usual one. Not owned: the program keeps the cursor alive.
    void setContinueCursor(HCURSOR cursor) { continueCursor_ = cursor; }
    HCURSOR continueCursor() const { return continueCursor_; }

    // Presses Abort on the note if it is waiting. Safe from any thread (a
    // console's Ctrl+C handler): it only posts a message.
    void postAbort() const;

    // The form's window, made now if it was not yet (null once it has been
    // destroyed). From another thread than the form's: the window if it has
    // been made, else null (it is never made there).
    HWND window();
    // Whether the window has been made.
    bool made() const { return made_; }
    bool waiting() const { return waiting_ > 0; }

private:
    struct WindowDestroyer {
        void operator()(HWND h) const { DestroyWindow(h); }
    };
    struct GdiObjectDeleter {
        void operator()(HGDIOBJ h) const { DeleteObject(h); }
    };
    using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;
    using OwnedBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;

    static LRESULT CALLBACK WindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    // The window and its controls, once; the kept caption and lines go in.
    void make();
    bool onCommand(int id, int code);
    bool onActivate(WPARAM wp);
    LRESULT memoColours(HDC dc) const;
    void report(const char* text) noexcept;
    HWND addControl(const char* cls, const char* text, DWORD style, DWORD exStyle, int id, const RECT& place);

    // Handlers, named as in the forms. Button1Click is also the pad's
    // CloseClick; AbortBtnClick also the pad's AbortClick.
    void Button1Click();
    void AbortBtnClick();
    void ResizeClick();
    LRESULT defaultButton() const;
    void hide(NoteAnswer answer);

    Flavor variant_;
    HWND owner_ = nullptr;
    ErrorReport report_;
    bool made_ = false;
    DWORD thread_ = GetCurrentThreadId();  // the form's thread
    std::string caption_;                  // until the window is made
    std::string text_;                     // the lines, joined, until the window is made
    // The form and its Abort button for postAbort, which another thread may
    // call: set once the window and its controls are there.
    std::atomic<HWND> postForm_{nullptr};
    std::atomic<HWND> postAbort_{nullptr};
    OwnedBrush formBrush_;
    OwnedWindow window_;
    HWND form_ = nullptr;  // window_'s handle, known from WM_NCCREATE on
    HWND memo_ = nullptr;
    HWND continue_ = nullptr;
    HWND abort_ = nullptr;
    HWND lastFocus_ = nullptr;
    HCURSOR continueCursor_ = nullptr;
    NoteAnswer answer_ = NoteAnswer::Continue;
    int waiting_ = 0;
};

}  // namespace taskloom
