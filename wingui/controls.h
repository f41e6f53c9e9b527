// Thin, non-owning wrappers of the standard controls: each holds a handle
// and says in the control's own messages what the forms ask of it. They own
// nothing; the parent window destroys its children.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace wingui {

// Any window's text (WM_GETTEXT) and the rest that every control has.
std::string TextOf(HWND w);
void SetText(HWND w, const std::string& text);
void Enable(HWND w, bool on);
bool Enabled(HWND w);
void Show(HWND w, bool on);

// Creates a child control at a place given in device pixels.
HWND CreateChild(HWND parent, const char* cls, const std::string& text, DWORD style, DWORD exStyle, int id,
                 HFONT font);

struct ListBox {
    HWND h = nullptr;
    int count() const;
    std::string text(int i) const;
    std::vector<std::string> items() const;
    void setItems(const std::vector<std::string>& items);
    int add(const std::string& s);             // answers its index (sorted lists sort it in)
    void insert(int i, const std::string& s);  // -1: at the end
    void remove(int i);
    void clear();
    int selected() const;  // -1: none
    void select(int i);    // -1: none
};

struct TabControl {
    HWND h = nullptr;
    void add(const std::string& caption);
    int count() const;
    int current() const;
    void setCurrent(int i);
    std::string caption(int i) const;
    void setCaption(int i, const std::string& caption);
    // The display area below the tabs, in the parent's coordinates.
    RECT displayArea() const;
};

struct TrackBar {
    HWND h = nullptr;
    void setRange(int lo, int hi);
    int pos() const;
    void setPos(int p);
};

// An up-down control, with or without a buddy edit.
struct UpDown {
    HWND h = nullptr;
    void setRange(int lo, int hi);
    void range(int& lo, int& hi) const;
    // The position. An up-down whose buddy field (UDS_SETBUDDYINT) holds
    // text that is no number in its range keeps its last position, which is
    // not what the user sees: value() then throws std::runtime_error rather
    // than answer it. A form reads such a field's text itself (buddy()).
    int value() const;
    void setValue(int v);
    HWND buddy() const;
};

struct TreeView {
    HWND h = nullptr;
    void clear();
    HTREEITEM add(HTREEITEM parent, const std::string& text, LPARAM data = 0);
    LPARAM data(HTREEITEM item) const;
    HTREEITEM root() const;
    HTREEITEM selected() const;
    void select(HTREEITEM item);
    HTREEITEM parent(HTREEITEM item) const;
    HTREEITEM firstChild(HTREEITEM item) const;
    HTREEITEM next(HTREEITEM item) const;
    std::string text(HTREEITEM item) const;
    int count() const;
    // Expands every node below `item` (the whole tree for null).
    void expandAll(HTREEITEM item = nullptr);
};

struct StatusBar {
    HWND h = nullptr;
    // Right edges of the panels in pixels; -1 for the last stretches.
    void setParts(const std::vector<int>& rightEdges);
    void setText(int part, const std::string& text);
    std::string text(int part) const;
};

struct Button {
    HWND h = nullptr;
    bool checked() const;
    void setChecked(bool on);
};

}  // namespace wingui

namespace wingui {

// A page of a tab control: a plain child window that passes its controls'
// notifications (commands, notifications, scrolls, colours) on to its parent
// form, so that the form handles every control in one place. It takes part
// in the dialog keys (Tab moves into it).
HWND CreatePageWindow(HWND parent, int id);

// The WM_GETDLGCODE answer of a subclassed field that takes every key but
// Tab (which still moves the focus on).
LRESULT WantAllKeysButTab(HWND field, WPARAM wp, LPARAM lp);

// A tooltip window for the hints of `owner`'s controls, and a control's hint
// on it (the text is kept by reference: it must outlive the tooltip).
HWND CreateTips(HWND owner);
void AddHint(HWND tips, HWND control, const char* text);

}  // namespace wingui
