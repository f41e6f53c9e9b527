#include "win32/win32_desktop.h"

#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "win32/clipboard_guard.h"
#include "win32/system_library.h"

namespace taskloom {
namespace {

HWND ToHwnd(Wnd w) { return reinterpret_cast<HWND>(static_cast<intptr_t>(w)); }
Wnd FromHwnd(HWND h) { return static_cast<Wnd>(reinterpret_cast<intptr_t>(h)); }
HMENU ToHmenu(MenuHandle m) { return reinterpret_cast<HMENU>(static_cast<intptr_t>(m)); }
MenuHandle FromHmenu(HMENU h) { return static_cast<MenuHandle>(reinterpret_cast<intptr_t>(h)); }

BOOL CALLBACK CollectWindow(HWND h, LPARAM list) {
    reinterpret_cast<std::vector<Wnd>*>(list)->push_back(FromHwnd(h));
    return TRUE;
}

// Keeps the clipboard open for one operation, or says why it cannot. The
// holder may be the program emptying the clipboard, waiting with it open
// until our owner window has answered: messages sent to us are let through
// while we wait, or both sides would stall.
class OpenClipboardGuard {
public:
    explicit OpenClipboardGuard(HWND owner) : open_(owner, 1000, true) {
        if (!open_.opened()) throw ClipboardError("Cannot open clipboard");
    }

private:
    ClipboardGuard open_;
};

// Memory handed to the clipboard belongs to it once SetClipboardData
// succeeds; until then it is ours to free.
class GlobalMemory {
public:
    explicit GlobalMemory(SIZE_T bytes) : h_(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    ~GlobalMemory() {
        if (h_) GlobalFree(h_);
    }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;
    HGLOBAL get() const { return h_; }
    void release() { h_ = nullptr; }

private:
    HGLOBAL h_;
};

class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL h) : h_(h), p_(h ? GlobalLock(h) : nullptr) {}
    ~GlobalLockGuard() {
        if (p_) GlobalUnlock(h_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    char* data() const { return static_cast<char*>(p_); }

private:
    HGLOBAL h_;
    void* p_;
};

// Joins the calling thread's input state to another thread's for as long as
// it lives, so that focus calls reach that thread's windows.
class AttachedInput {
public:
    explicit AttachedInput(DWORD other)
        : self_(GetCurrentThreadId()),
          other_(other),
          attached_(other != 0 && other != self_ && AttachThreadInput(self_, other_, TRUE)) {}
    ~AttachedInput() {
        if (attached_) AttachThreadInput(self_, other_, FALSE);
    }
    AttachedInput(const AttachedInput&) = delete;
    AttachedInput& operator=(const AttachedInput&) = delete;

private:
    DWORD self_;
    DWORD other_;
    bool attached_;
};

// Answers to the WM_NULL messages a wait sends to the receiving thread, one
// at a time. The callback may come after the wait is over (or after the
// desktop is gone): it holds the count weakly.
struct ReceiverAnswers {
    std::uint64_t count = 0;
    bool asking = false;
};

void CALLBACK CountAnswer(HWND, UINT, ULONG_PTR data, LRESULT) {
    std::unique_ptr<std::weak_ptr<ReceiverAnswers>> token(
        reinterpret_cast<std::weak_ptr<ReceiverAnswers>*>(data));
    if (auto answers = token->lock()) {
        ++answers->count;
        answers->asking = false;
    }
}

// Asks the window's thread for one answer unless a question is on its way.
void AskForAnswer(HWND h, const std::shared_ptr<ReceiverAnswers>& answers) {
    if (answers->asking) return;
    auto token = std::make_unique<std::weak_ptr<ReceiverAnswers>>(answers);
    // For a window of our own thread the answer comes inside the call.
    answers->asking = true;
    if (SendMessageCallbackA(h, WM_NULL, 0, 0, CountAnswer, reinterpret_cast<ULONG_PTR>(token.get())))
        token.release();  // the callback owns it now
    else
        answers->asking = false;
}

bool PaintPending(HWND h) {
    RECT r;
    return IsWindow(h) && GetUpdateRect(h, &r, FALSE);
}

// Marks the window for repainting, the whole window with its children, and
// gives the window whose pending repaint can be watched (without a message
// to the receiver, so that a hung one cannot hold us up):
// the window itself, or the field with the focus when the window's own
// area is all covered by children that it clips. Null when nothing of it
// is on the screen to repaint (hidden, minimized).
HWND MarkForRepaint(HWND top, DWORD thread) {
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    if (PaintPending(top)) return top;
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (GetGUIThreadInfo(thread, &gui) && gui.hwndFocus && PaintPending(gui.hwndFocus)) return gui.hwndFocus;
    return nullptr;
}

}  // namespace

struct Win32Desktop::InputProbe {
    DWORD thread = 0;
    HWND top = nullptr;
    HWND watched = nullptr;    // its repaint comes only after every key queued before it
    std::uint64_t keysAt = 0;  // keysSent_ when the window was marked
    std::shared_ptr<ReceiverAnswers> answers = std::make_shared<ReceiverAnswers>();
};

Win32Desktop::Win32Desktop() = default;

Win32Desktop::~Win32Desktop() {
    endInputWait();
    fineTimer(false);
    if (clipboardOwner_) DestroyWindow(ToHwnd(clipboardOwner_));
}

// --- keyboard -----------------------------------------------------------

void Win32Desktop::keyEvent(const KeyEvent& e) {
    DWORD flags = 0;
    if (e.up) flags |= KEYEVENTF_KEYUP;
    if (e.extended) flags |= KEYEVENTF_EXTENDEDKEY;
    keybd_event(e.vk, e.scan, flags, 0);
    ++keysSent_;
}

namespace {

// Keys whose scan code comes with the extended bit: read without it, their
// names are those of other keys (the keypad's "/" would be the main "/").
bool IsExtendedKey(int vk) {
    switch (vk) {
        case VK_CANCEL:
        case VK_SNAPSHOT:
        case VK_LWIN:
        case VK_RWIN:
        case VK_APPS:
        case VK_DIVIDE:
        case VK_NUMLOCK:
        case VK_RCONTROL:
        case VK_RMENU:
            return true;
        default:
            return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE ||
                   (vk >= VK_BROWSER_BACK && vk <= VK_LAUNCH_APP2);
    }
}

}  // namespace

std::string LayoutKeyName(int vk) {
    if (vk <= 0 || vk > 254) return {};
    const UINT scan = MapVirtualKeyA(static_cast<UINT>(vk), MAPVK_VK_TO_VSC) & 0xFF;
    if (scan == 0) return {};
    LONG code = static_cast<LONG>(scan << 16);
    if (IsExtendedKey(vk)) code |= 1L << 24;
    char name[128] = {};
    const int n = GetKeyNameTextA(code, name, sizeof name);
    if (n <= 0) return {};
    std::string text(name, static_cast<std::size_t>(std::min(n, static_cast<int>(sizeof name) - 1)));
    if (text.size() == 1) {
        const SHORT typing = VkKeyScanA(text[0]);
        if (typing != -1 && LOBYTE(typing) != vk) return {};
    }
    return text;
}

std::int16_t Win32Desktop::vkKeyScan(char c) { return VkKeyScanA(c); }

unsigned Win32Desktop::mapVirtualKey(unsigned vk) { return MapVirtualKeyA(vk, MAPVK_VK_TO_VSC); }

bool Win32Desktop::isKeyDown(std::uint8_t vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

// --- message loop and time ---------------------------------------------

void Win32Desktop::processMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The program's own loop must still see the quit request.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Win32Desktop::sleep(unsigned ms) { Sleep(ms); }

std::uint64_t Win32Desktop::tickMs() { return GetTickCount64(); }

void Win32Desktop::fineTimer(bool on) {
    if (on == fineTimerOn_) return;
    // The resolution is a system-wide request: every begin needs its end.
    // Without the multimedia library the timer keeps its coarse steps.
    SystemLibrary& winmm = MultimediaLibrary();
    if (on) {
        auto begin = winmm.find<decltype(timeBeginPeriod)>("timeBeginPeriod");
        if (!begin || begin(1) != TIMERR_NOERROR) return;
    } else if (auto end = winmm.find<decltype(timeEndPeriod)>("timeEndPeriod")) {
        end(1);
    }
    fineTimerOn_ = on;
}

// --- windows ------------------------------------------------------------

Wnd Win32Desktop::findWindow(const std::string& exactTitle) {
    // FindWindowA ignores letter case; of the windows it offers, in the same
    // order, the first whose title is equal byte for byte is the one.
    const char* title = exactTitle.c_str();
    for (HWND h = FindWindowExA(nullptr, nullptr, nullptr, title); h;
         h = FindWindowExA(nullptr, h, nullptr, title)) {
        if (windowText(FromHwnd(h)) == exactTitle) return FromHwnd(h);
    }
    return 0;
}

Wnd Win32Desktop::foregroundWindow() { return FromHwnd(GetForegroundWindow()); }

std::vector<Wnd> Win32Desktop::topLevelWindows() {
    std::vector<Wnd> list;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&list));
    return list;
}

std::vector<Wnd> Win32Desktop::childWindows(Wnd parent) {
    std::vector<Wnd> list;
    if (!IsWindow(ToHwnd(parent))) return list;
    EnumChildWindows(ToHwnd(parent), CollectWindow, reinterpret_cast<LPARAM>(&list));
    return list;
}

std::string Win32Desktop::windowText(Wnd w) {
    const HWND h = ToHwnd(w);
    // The text may grow between asking its length and reading it; a read that
    // fills the buffer is repeated, a few times at most, with the new length.
    constexpr int kMaxLength = 1 << 24;
    int capacity = std::min(GetWindowTextLengthA(h), kMaxLength) + 1;
    for (int attempt = 0;; ++attempt) {
        std::string text(static_cast<size_t>(capacity), '\0');
        const int got = GetWindowTextA(h, text.data(), capacity);
        if (got <= 0) return {};
        text.resize(static_cast<size_t>(std::min(got, capacity - 1)));
        if (got < capacity - 1 || attempt == 3) return text;
        const int now = std::min(GetWindowTextLengthA(h), kMaxLength);
        if (now <= got) return text;
        capacity = now + 1;
    }
}

std::string Win32Desktop::titleText(Wnd w) {
    // The stored text, in the window system's own characters, read without a
    // message; a buffer that comes back full is read again twice as large.
    const HWND h = ToHwnd(w);
    for (int capacity = 256;; capacity *= 2) {
        std::wstring wide(static_cast<size_t>(capacity), L'\0');
        const int got = InternalGetWindowText(h, wide.data(), capacity);
        if (got <= 0) return {};
        if (got < capacity - 1 || capacity >= (1 << 16)) {
            wide.resize(static_cast<size_t>(std::min(got, capacity - 1)));
            const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                              0, nullptr, nullptr);
            std::string text(static_cast<size_t>(std::max(n, 0)), '\0');
            if (n > 0)
                WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n,
                                    nullptr, nullptr);
            return text;
        }
    }
}

bool Win32Desktop::isWindow(Wnd w) { return w != 0 && IsWindow(ToHwnd(w)); }
bool Win32Desktop::isVisible(Wnd w) { return IsWindowVisible(ToHwnd(w)); }
bool Win32Desktop::isIconic(Wnd w) { return IsIconic(ToHwnd(w)); }
bool Win32Desktop::isEnabled(Wnd w) { return IsWindowEnabled(ToHwnd(w)); }

void Win32Desktop::restoreWindow(Wnd w) { ShowWindow(ToHwnd(w), SW_RESTORE); }

void Win32Desktop::setForeground(Wnd w) { SetForegroundWindow(ToHwnd(w)); }

void Win32Desktop::setFocus(Wnd w) {
    const HWND h = ToHwnd(w);
    // SetFocus(NULL) would take the focus from our own windows.
    if (!IsWindow(h)) return;
    // Focus already in the window (on it or on one of its fields) stays
    // where it is: moving it to the window, whose own handler then passes it
    // back to a field, changes nothing the user could want, moves a form's
    // caret back to its first field, and under Wine loses keys that are
    // still queued for the field.
    const DWORD thread = GetWindowThreadProcessId(h, nullptr);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (GetGUIThreadInfo(thread, &gui) && gui.hwndFocus && (gui.hwndFocus == h || IsChild(h, gui.hwndFocus)))
        return;
    // SetFocus only works on windows that share the caller's input state; for
    // another program's window it silently does nothing. Joining that
    // window's thread for the call lets the focus land where asked, so a
    // window just brought forward also gets the keys that follow.
    AttachedInput attached(thread);
    SetFocus(h);
}

bool Win32Desktop::hasTakenForeground(Wnd w) {
    const HWND h = ToHwnd(w);
    if (!IsWindow(h) || GetForegroundWindow() != h) return false;
    // The window manager names the new foreground at once; the window's
    // thread makes it its active window once it has handled the activation.
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &gui)) return true;
    return gui.hwndActive == h;
}

Desktop::InputProgress Win32Desktop::inputProgress(Wnd w) {
    const HWND h = ToHwnd(w);
    const DWORD thread = IsWindow(h) ? GetWindowThreadProcessId(h, nullptr) : 0;
    if (probe_ && (probe_->top != h || probe_->thread != thread || probe_->keysAt != keysSent_))
        endInputWait();
    // A gone window takes nothing in any more.
    if (!thread) return {};
    if (!probe_) {
        if (drainedThread_ == thread && drainedAt_ == keysSent_) return {};
        auto probe = std::make_unique<InputProbe>();
        probe->thread = thread;
        probe->top = h;
        probe->keysAt = keysSent_;
        probe->watched = MarkForRepaint(h, thread);
        // Nothing on the screen to repaint: there is no way to tell.
        if (!probe->watched) return {};
        AskForAnswer(h, probe->answers);
        probe_ = std::move(probe);
        return {false, 0};
    }
    if (PaintPending(probe_->watched)) {
        AskForAnswer(probe_->top, probe_->answers);
        return {false, probe_->answers->count};
    }
    drainedThread_ = thread;
    drainedAt_ = keysSent_;
    endInputWait();
    return {};
}

void Win32Desktop::endInputWait() { probe_.reset(); }

// --- menus --------------------------------------------------------------

MenuHandle Win32Desktop::getMenu(Wnd w) {
    if (!IsWindow(ToHwnd(w))) return 0;
    return FromHmenu(GetMenu(ToHwnd(w)));
}

int Win32Desktop::menuItemCount(MenuHandle m) { return GetMenuItemCount(ToHmenu(m)); }

std::string Win32Desktop::menuString(MenuHandle m, int pos) {
    const HMENU h = ToHmenu(m);
    const int length = GetMenuStringA(h, static_cast<UINT>(pos), nullptr, 0, MF_BYPOSITION);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = GetMenuStringA(h, static_cast<UINT>(pos), text.data(), length + 1, MF_BYPOSITION);
    text.resize(got > 0 ? std::min(static_cast<size_t>(got), static_cast<size_t>(length)) : 0);
    return text;
}

std::optional<unsigned> Win32Desktop::menuItemState(MenuHandle m, int pos) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    if (!GetMenuItemInfoA(ToHmenu(m), static_cast<UINT>(pos), TRUE, &info)) return std::nullopt;
    return info.fState;
}

MenuHandle Win32Desktop::subMenu(MenuHandle m, int pos) { return FromHmenu(GetSubMenu(ToHmenu(m), pos)); }

// --- messages -----------------------------------------------------------

void Win32Desktop::postMessage(Wnd w, unsigned msg, std::uint64_t wparam, std::int64_t lparam) {
    // To no window, PostMessageA would post to our own thread instead.
    if (w == 0) return;
    PostMessageA(ToHwnd(w), msg, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}

// --- clipboard ----------------------------------------------------------

Wnd Win32Desktop::clipboardOwner() {
    if (!clipboardOwner_) {
        clipboardOwner_ = FromHwnd(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                                   GetModuleHandleA(nullptr), nullptr));
    }
    return clipboardOwner_;
}

std::string ClipboardBlockText(void* data) {
    if (!data) return {};
    GlobalLockGuard lock(data);
    if (!lock.data()) return {};
    // The block may be larger than the text, and a careless writer may have
    // left out the terminating zero: never read past the block.
    return std::string(lock.data(), strnlen(lock.data(), GlobalSize(data)));
}

std::string Win32Desktop::clipboardText() {
    OpenClipboardGuard open(nullptr);
    return ClipboardBlockText(GetClipboardData(CF_TEXT));
}

std::uint64_t Win32Desktop::clipboardSequence() { return GetClipboardSequenceNumber(); }

void Win32Desktop::setClipboardText(const std::string& text) {
    GlobalMemory memory(text.size() + 1);
    if (!memory.get()) throw ClipboardError("Out of memory for the clipboard");
    {
        GlobalLockGuard lock(memory.get());
        if (!lock.data()) throw ClipboardError("Out of memory for the clipboard");
        std::memcpy(lock.data(), text.c_str(), text.size() + 1);
    }
    // EmptyClipboard makes the opening window the owner; data set with no
    // owner window may be refused.
    OpenClipboardGuard open(ToHwnd(clipboardOwner()));
    EmptyClipboard();
    if (SetClipboardData(CF_TEXT, memory.get())) memory.release();
}

void Win32Desktop::emptyClipboard(Wnd owner) {
    // A gone owner would make every attempt to open fail.
    OpenClipboardGuard open(IsWindow(ToHwnd(owner)) ? ToHwnd(owner) : nullptr);
    EmptyClipboard();
}

// --- shell --------------------------------------------------------------

bool Win32Desktop::shellExecute(Wnd owner, const std::string& file, const std::string& params,
                                const std::string& dir, int show) {
    // Values above 32 mean started; the others are the reasons it was not.
    auto shellExecute = Shell32Library().find<decltype(ShellExecuteA)>("ShellExecuteA");
    if (!shellExecute) return false;
    const HINSTANCE started =
        shellExecute(ToHwnd(owner), nullptr, file.c_str(), params.empty() ? nullptr : params.c_str(),
                     dir.empty() ? nullptr : dir.c_str(), show);
    return reinterpret_cast<INT_PTR>(started) > 32;
}

std::unique_ptr<Desktop> MakeWin32Desktop() { return std::make_unique<Win32Desktop>(); }

}  // namespace taskloom
