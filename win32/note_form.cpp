#include "win32/note_form.h"

#include <stdexcept>

#include "engine/note_layout.h"
#include "win32/topmosts.h"
#include "win32/win32_program.h"

namespace taskloom {
namespace {

// The window class is the form's class name, as the form's window is known
// to the other programs' window lists.
const char kClassName[] = "TMemoPop";

constexpr int kMemoId = 100;
constexpr int kContinueId = 101;
constexpr int kAbortId = 102;

const COLORREF kTeal = RGB(0, 128, 128);

struct Place {
    int left, top, width, height;
};

// One variant's form: its frame, its size (the client area for the fixed
// form, the outer window for the sizeable one) and where its controls sit.
struct Layout {
    DWORD style;
    DWORD exStyle;
    int width, height;
    bool clientSize;
    Place memo, continueButton, abortButton;
    int memoColour;  // system colour index of the memo's background
    bool continueIsDefault;
};

const Layout kComposerLayout = {
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    WS_EX_TOPMOST,
    237,
    147,
    true,
    {0, 0, 237, 129},
    {20, 130, 61, 17},
    {152, 130, 61, 17},
    COLOR_INFOBK,
    true,
};

const Layout kPadLayout = {
    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
    0,
    245,
    177,
    false,
    {0, 18, 237, 131},
    {2, 0, 59, 19},
    {70, 0, 55, 19},
    COLOR_WINDOW,
    false,
};

const Layout& LayoutOf(Flavor variant) { return variant == Flavor::Composer ? kComposerLayout : kPadLayout; }

RECT ToRect(const Place& p) { return {p.left, p.top, p.left + p.width, p.top + p.height}; }

}  // namespace

NoteForm::NoteForm(Flavor variant, HWND owner, ErrorReport report)
    : variant_(variant), owner_(owner), report_(std::move(report)), formBrush_(CreateSolidBrush(kTeal)) {
    if (!formBrush_) throw std::runtime_error("cannot create the note's brush");
}

HWND NoteForm::window() {
    if (GetCurrentThreadId() != thread_) return postForm_.load();
    make();
    return form_;
}

void NoteForm::make() {
    if (made_) return;
    made_ = true;
    const Layout& layout = LayoutOf(variant_);
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    // No class brush: the form paints its own colour (WM_ERASEBKGND).
    RegisterWindowClass({kClassName, WindowProc});

    RECT outer{0, 0, layout.width, layout.height};
    if (layout.clientSize) AdjustWindowRectEx(&outer, layout.style, FALSE, layout.exStyle);
    window_.reset(CreateWindowExA(layout.exStyle, kClassName, caption_.c_str(), layout.style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, owner_,
                                  nullptr, instance, this));
    if (!window_)
        throw std::runtime_error("cannot create the note window (error " + std::to_string(GetLastError()) +
                                 ")");

    // The memo is made first: it is above the buttons where the pad's
    // overlap (one pixel), and first in the tab order.
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;
    memo_ = addControl("EDIT", "", child | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE,
                       kMemoId, ToRect(layout.memo));
    continue_ = addControl("BUTTON", "&Continue",
                           child | (layout.continueIsDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0,
                           kContinueId, ToRect(layout.continueButton));
    abort_ = addControl("BUTTON", "&Abort", child | BS_PUSHBUTTON, 0, kAbortId, ToRect(layout.abortButton));
    lastFocus_ = continue_;
    if (variant_ == Flavor::Pad) ResizeClick();
    SetWindowTextA(memo_, text_.c_str());
    postAbort_ = abort_;
    postForm_ = form_;
}

NoteForm::~NoteForm() = default;

HWND NoteForm::addControl(const char* cls, const char* text, DWORD style, DWORD exStyle, int id,
                          const RECT& place) {
    HWND h = CreateWindowExA(
        exStyle, cls, text, style, place.left, place.top, place.right - place.left, place.bottom - place.top,
        form_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (!h)
        throw std::runtime_error(std::string("cannot create the note's ") + text + " control (error " +
                                 std::to_string(GetLastError()) + ")");
    // A stock font: the system's, never deleted.
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return h;
}

void NoteForm::setLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += "\r\n";
        text += lines[i];
    }
    if (made_)
        SetWindowTextA(memo_, text.c_str());
    else
        text_ = std::move(text);
}

std::vector<std::string> NoteForm::lines() const {
    std::string text = text_;  // the window's once it is made
    if (made_) {
        text.assign(static_cast<size_t>(GetWindowTextLengthA(memo_)) + 1, '\0');
        text.resize(static_cast<size_t>(GetWindowTextA(memo_, text.data(), static_cast<int>(text.size()))));
    }
    std::vector<std::string> out;
    if (text.empty()) return out;
    size_t start = 0;
    for (size_t cr; (cr = text.find("\r\n", start)) != std::string::npos; start = cr + 2)
        out.push_back(text.substr(start, cr - start));
    out.push_back(text.substr(start));
    return out;
}

void NoteForm::setCaption(const std::string& title) {
    if (made_)
        SetWindowTextA(form_, title.c_str());
    else
        caption_ = title;
}

NoteAnswer NoteForm::PopUpNote(const std::string& title, int x, int y) {
    make();
    setCaption(title);
    answer_ = NoteAnswer::Continue;
    // The note is made stay-on-top last, so it comes above the program's
    // own stay-on-top windows too (the pad); they are put back when the
    // note has gone, however the wait ends.
    const NormalizedTopMosts normalized(form_);
    // The form's own handle, never a search by title: another window with
    // the same caption must not be the one moved.
    SetWindowPos(form_, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(form_);
    SetFocus(continue_);

    struct Waiting {
        int& count;
        explicit Waiting(int& c) : count(c) { ++count; }
        ~Waiting() { --count; }
    } waiting{waiting_};
    while (IsWindowVisible(form_)) {
        MSG msg;
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // The program is ending (or its queue is gone): the note must
            // not hold it, and the run must not go on as if Continue.
            hide(NoteAnswer::Abort);
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!IsDialogMessageA(form_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return answer_;
}

NoteAnswer NoteForm::show(const std::string& title, const std::vector<std::string>& lines, int x, int y) {
    setLines(lines);
    return PopUpNote(title, x, y);
}

void NoteForm::postAbort() const {
    // A note whose window is not made yet is not waiting: nothing to press.
    const HWND form = postForm_.load();
    if (!form) return;
    PostMessageA(form, WM_COMMAND, MAKEWPARAM(kAbortId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(postAbort_.load()));
}

void NoteForm::hide(NoteAnswer answer) {
    answer_ = answer;
    ShowWindow(form_, SW_HIDE);
}

void NoteForm::Button1Click() { hide(NoteAnswer::Continue); }

void NoteForm::AbortBtnClick() { hide(NoteAnswer::Abort); }

void NoteForm::ResizeClick() {
    RECT r;
    GetWindowRect(form_, &r);
    const MemoSize size = PadMemoSize(r.right - r.left, r.bottom - r.top);
    // A multi-line edit without horizontal scrolling wraps its text again
    // to its new width by itself.
    SetWindowPos(memo_, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The button Enter presses (IsDialogMessage asks): the focused button, else
// in the composer Continue, the form's default; the pad's note has none.
LRESULT NoteForm::defaultButton() const {
    const HWND focus = GetFocus();
    if (focus == continue_) return MAKELRESULT(kContinueId, DC_HASDEFID);
    if (focus == abort_) return MAKELRESULT(kAbortId, DC_HASDEFID);
    return LayoutOf(variant_).continueIsDefault ? MAKELRESULT(kContinueId, DC_HASDEFID) : 0;
}

LRESULT CALLBACK NoteForm::WindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    NoteForm* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<NoteForm*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->form_ = h;
    } else {
        self = reinterpret_cast<NoteForm*>(GetWindowLongPtrA(h, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(h, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(h, GWLP_USERDATA, 0);
        self->form_ = self->memo_ = self->continue_ = self->abort_ = self->lastFocus_ = nullptr;
        self->postForm_ = nullptr;
        self->postAbort_ = nullptr;
        return DefWindowProcA(h, msg, wp, lp);
    }
    try {
        return self->handle(msg, wp, lp);
    } catch (const std::exception& e) {
        self->report(e.what());
    } catch (...) {
        self->report("unexpected failure in the note window");
    }
    return DefWindowProcA(h, msg, wp, lp);
}

void NoteForm::report(const char* text) noexcept {
    try {
        if (report_) {
            report_(text);
            return;
        }
    } catch (...) {
    }
    MessageBoxA(form_, text, "Taskloom", MB_OK | MB_ICONERROR);
}

// A click on Continue or Abort; answers whether it was one.
bool NoteForm::onCommand(int id, int code) {
    if (id == kContinueId && code == BN_CLICKED) {
        Button1Click();
        return true;
    }
    if (id == kAbortId && code == BN_CLICKED) {
        AbortBtnClick();
        return true;
    }
    return false;
}

// Keyboard focus comes back to the control that had it; answers whether it
// was given back here (else the default handling gives it).
bool NoteForm::onActivate(WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && GetParent(focus) == form_) lastFocus_ = focus;
    } else if (lastFocus_ && !HIWORD(wp)) {
        SetFocus(lastFocus_);
        return true;
    }
    return false;
}

// The memo's colours, set on its device context; answers the brush of its
// background.
LRESULT NoteForm::memoColours(HDC dc) const {
    const int colour = LayoutOf(variant_).memoColour;
    SetBkColor(dc, GetSysColor(colour));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    // A system colour brush: shared, never deleted.
    return reinterpret_cast<LRESULT>(GetSysColorBrush(colour));
}

LRESULT NoteForm::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (onCommand(LOWORD(wp), HIWORD(wp))) return 0;
            break;  // IDOK / IDCANCEL from Enter / Esc with no button to press: nothing
        case DM_GETDEFID:
            return defaultButton();
        case WM_CLOSE:
            // The close box hides the note like Continue; the form lives on.
            Button1Click();
            return 0;
        case WM_SIZE:
            if (variant_ == Flavor::Pad && memo_) ResizeClick();
            return 0;
        case WM_WINDOWPOSCHANGED:
            // However the note was hidden (even by another thread), wake the
            // wait loop so that it sees it.
            if (reinterpret_cast<WINDOWPOS*>(lp)->flags & SWP_HIDEWINDOW) PostMessageA(form_, WM_NULL, 0, 0);
            break;  // DefWindowProc turns it into WM_SIZE and WM_MOVE
        case WM_ACTIVATE:
            if (onActivate(wp)) return 0;
            break;
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(form_, &r);
            FillRect(reinterpret_cast<HDC>(wp), &r, formBrush_.get());
            return 1;
        }
        case WM_CTLCOLORSTATIC:  // what a read-only edit asks
        case WM_CTLCOLOREDIT:
            if (reinterpret_cast<HWND>(lp) == memo_) return memoColours(reinterpret_cast<HDC>(wp));
            break;
        case WM_SETCURSOR:
            if (continueCursor_ && reinterpret_cast<HWND>(wp) == continue_) {
                SetCursor(continueCursor_);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return DefWindowProcA(form_, msg, wp, lp);
}

}  // namespace taskloom
