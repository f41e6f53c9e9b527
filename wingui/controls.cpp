#include "wingui/controls.h"

#include <stdexcept>

namespace wingui {

std::string TextOf(HWND w) {
    const LRESULT n = SendMessageA(w, WM_GETTEXTLENGTH, 0, 0);
    if (n <= 0) return {};
    std::string text(static_cast<size_t>(n) + 1, '\0');
    const LRESULT got = SendMessageA(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

void SetText(HWND w, const std::string& text) {
    SendMessageA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Only a real change: the composer sets its buttons for every line a script runs.
void Enable(HWND w, bool on) {
    if (Enabled(w) != on) EnableWindow(w, on ? TRUE : FALSE);
}
bool Enabled(HWND w) { return IsWindowEnabled(w) != FALSE; }
void Show(HWND w, bool on) {
    const bool shown = (GetWindowLongPtrA(w, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != on) ShowWindow(w, on ? SW_SHOWNA : SW_HIDE);
}

HWND CreateChild(HWND parent, const char* cls, const std::string& text, DWORD style, DWORD exStyle, int id,
                 HFONT font) {
    HWND h = CreateWindowExA(exStyle, cls, text.c_str(), WS_CHILD | style, 0, 0, 10, 10, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                             nullptr);
    if (!h)
        throw std::runtime_error(std::string("cannot create the control ") + cls + " \"" + text +
                                 "\" (error " + std::to_string(GetLastError()) + ")");
    if (font) SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return h;
}

int ListBox::count() const { return static_cast<int>(SendMessageA(h, LB_GETCOUNT, 0, 0)); }

std::string ListBox::text(int i) const {
    const LRESULT n = SendMessageA(h, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (n == LB_ERR) throw std::out_of_range("list index out of bounds (" + std::to_string(i) + ")");
    std::string s(static_cast<size_t>(n) + 1, '\0');
    const LRESULT got =
        SendMessageA(h, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return s;
}

std::vector<std::string> ListBox::items() const {
    std::vector<std::string> out;
    const int n = count();
    out.reserve(static_cast<size_t>(n > 0 ? n : 0));
    for (int i = 0; i < n; ++i) out.push_back(text(i));
    return out;
}

void ListBox::setItems(const std::vector<std::string>& items) {
    SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    clear();
    for (const std::string& s : items) add(s);
    SendMessageA(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
}

int ListBox::add(const std::string& s) {
    const LRESULT i = SendMessageA(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    if (i < 0) throw std::runtime_error("the list cannot take another line");
    return static_cast<int>(i);
}

void ListBox::insert(int i, const std::string& s) {
    if (SendMessageA(h, LB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.c_str())) < 0)
        throw std::runtime_error("the list cannot take another line");
}

void ListBox::remove(int i) { SendMessageA(h, LB_DELETESTRING, static_cast<WPARAM>(i), 0); }
void ListBox::clear() { SendMessageA(h, LB_RESETCONTENT, 0, 0); }
int ListBox::selected() const { return static_cast<int>(SendMessageA(h, LB_GETCURSEL, 0, 0)); }
void ListBox::select(int i) { SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(i), 0); }

void TabControl::add(const std::string& caption) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(h, TCM_INSERTITEMA, static_cast<WPARAM>(count()), reinterpret_cast<LPARAM>(&item));
}
int TabControl::count() const { return static_cast<int>(SendMessageA(h, TCM_GETITEMCOUNT, 0, 0)); }
int TabControl::current() const { return static_cast<int>(SendMessageA(h, TCM_GETCURSEL, 0, 0)); }
void TabControl::setCurrent(int i) { SendMessageA(h, TCM_SETCURSEL, static_cast<WPARAM>(i), 0); }

std::string TabControl::caption(int i) const {
    char buffer[256] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    if (!SendMessageA(h, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) return {};
    return item.pszText ? std::string(item.pszText) : std::string();
}

void TabControl::setCaption(int i, const std::string& caption) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(h, TCM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
}

RECT TabControl::displayArea() const {
    RECT r;
    GetClientRect(h, &r);
    SendMessageA(h, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(h, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void TrackBar::setRange(int lo, int hi) {
    SendMessageA(h, TBM_SETRANGEMIN, FALSE, lo);
    SendMessageA(h, TBM_SETRANGEMAX, TRUE, hi);
}
int TrackBar::pos() const { return static_cast<int>(SendMessageA(h, TBM_GETPOS, 0, 0)); }
void TrackBar::setPos(int p) { SendMessageA(h, TBM_SETPOS, TRUE, p); }

void UpDown::setRange(int lo, int hi) { SendMessageA(h, UDM_SETRANGE32, static_cast<WPARAM>(lo), hi); }
void UpDown::range(int& lo, int& hi) const {
    SendMessageA(h, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
}
int UpDown::value() const {
    BOOL failed = FALSE;
    const int v = static_cast<int>(SendMessageA(h, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    // Without a buddy field the flag tells nothing.
    if (failed && buddy())
        throw std::runtime_error("the number field \"" + TextOf(buddy()) + "\" is not a number in its range");
    return v;
}
HWND UpDown::buddy() const { return reinterpret_cast<HWND>(SendMessageA(h, UDM_GETBUDDY, 0, 0)); }
void UpDown::setValue(int v) { SendMessageA(h, UDM_SETPOS32, 0, v); }

void TreeView::clear() { SendMessageA(h, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)); }

HTREEITEM TreeView::add(HTREEITEM parent, const std::string& text, LPARAM data) {
    TVINSERTSTRUCTA ins{};
    ins.hParent = parent ? parent : TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = const_cast<char*>(text.c_str());
    ins.item.lParam = data;
    auto item =
        reinterpret_cast<HTREEITEM>(SendMessageA(h, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    if (!item) throw std::runtime_error("the tree cannot take another item");
    return item;
}

HTREEITEM TreeView::root() const {
    return reinterpret_cast<HTREEITEM>(SendMessageA(h, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}
HTREEITEM TreeView::selected() const {
    return reinterpret_cast<HTREEITEM>(SendMessageA(h, TVM_GETNEXTITEM, TVGN_CARET, 0));
}
void TreeView::select(HTREEITEM item) {
    SendMessageA(h, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}
HTREEITEM TreeView::parent(HTREEITEM item) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(h, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
}
HTREEITEM TreeView::firstChild(HTREEITEM item) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(h, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
}
HTREEITEM TreeView::next(HTREEITEM item) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(h, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
}

std::string TreeView::text(HTREEITEM item) const {
    char buffer[1024] = {};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buffer;
    tv.cchTextMax = sizeof buffer;
    if (!SendMessageA(h, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return {};
    return buffer;
}

LPARAM TreeView::data(HTREEITEM item) const {
    TVITEMA tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    if (!SendMessageA(h, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return 0;
    return tv.lParam;
}

int TreeView::count() const { return static_cast<int>(SendMessageA(h, TVM_GETCOUNT, 0, 0)); }

void TreeView::expandAll(HTREEITEM item) {
    for (HTREEITEM i = item ? firstChild(item) : root(); i; i = next(i)) {
        SendMessageA(h, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(i));
        expandAll(i);
    }
}

void StatusBar::setParts(const std::vector<int>& rightEdges) {
    SendMessageA(h, SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data()));
}
void StatusBar::setText(int part, const std::string& text) {
    SendMessageA(h, SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}
std::string StatusBar::text(int part) const {
    const LRESULT r = SendMessageA(h, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0);
    std::string s(static_cast<size_t>(LOWORD(r)) + 1, '\0');
    SendMessageA(h, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(LOWORD(r)));
    return s;
}

bool Button::checked() const { return SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Button::setChecked(bool on) { SendMessageA(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

}  // namespace wingui

namespace wingui {
namespace {

LRESULT CALLBACK PageProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_DRAWITEM:
            return SendMessageA(GetParent(h), msg, wp, lp);
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

HWND CreatePageWindow(HWND parent, int id) {
    static const char kClass[] = "TTabSheet";
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExA(instance, kClass, &existing)) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = PageProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClass;
        if (!RegisterClassExA(&wc)) throw std::runtime_error("cannot register the page window class");
    }
    return CreateChild(parent, kClass, "", WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, id, nullptr);
}

LRESULT WantAllKeysButTab(HWND field, WPARAM wp, LPARAM lp) {
    const LRESULT code = DefSubclassProc(field, WM_GETDLGCODE, wp, lp);
    const auto* m = reinterpret_cast<const MSG*>(lp);
    if (m && (m->message == WM_KEYDOWN || m->message == WM_SYSKEYDOWN) && m->wParam == VK_TAB) return code;
    return code | DLGC_WANTALLKEYS;
}

HWND CreateTips(HWND owner) {
    return CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                           owner, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void AddHint(HWND tips, HWND control, const char* text) {
    if (!tips || !control) return;
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = GetParent(control);
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<char*>(text);
    SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace wingui
