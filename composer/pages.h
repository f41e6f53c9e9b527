// The composer's pages but the Tessdeck page (tessdeck_page.h): each makes
// its controls from a table and says in the model's terms what its fields
// hold. What a page does by itself (the Keys page's Tab key button, the
// Windows page's match count) it answers in command(); what reaches the
// script list or other pages is the form's (vexa_form.h).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "composer/form_page.h"
#include "composer/model/command_builder.h"
#include "composer/model/composer_model.h"
#include "composer/model/key_capture.h"
#include "composer/model/menu_walk.h"
#include "composer/model/window_picker.h"
#include "wingui/handles.h"

namespace loomwright {

// Windows: the top-level titles, the match length and its check box.
class WindowsPage final : public FormPage {
public:
    WindowsPage(HWND page, HFONT font, HFONT rulerFont, int dpi);

    // The titles listed and title `index` selected (none when there is no
    // title).
    void setTitles(const std::vector<std::string>& titles, int index);
    int selectedIndex() const { return TitleBox.selected(); }
    std::string selectedTitle() const;
    int trackPos() const { return TrackBar1.pos(); }
    bool matchFirst() const { return MatchBox.checked(); }
    void setMatchFirst(bool on) { MatchBox.setChecked(on); }
    HWND titleList() const { return TitleBox.h; }
    bool isTrackBar(HWND control) const { return control == TrackBar1.h; }

    // The track bar held to the match lengths, the check box saying it.
    void MatchCount();

private:
    wingui::ListBox TitleBox;
    wingui::TrackBar TrackBar1;
    HWND ruler_ = nullptr;
    wingui::Button MatchBox;
    HWND RefreshBtn = nullptr, ViewBtn = nullptr, CopyBtn = nullptr;
};

// Menus: the chosen window's menu tree; its items keep their node ids.
class MenusPage final : public FormPage {
public:
    MenusPage(HWND page, HFONT font, int dpi);

    // The tree shown anew, its first selection chosen.
    void fill(taskloom::MenuTree tree);
    // While fill() runs (its selection changes are not the user's).
    bool filling() const { return filling_; }
    int count() const { return MenuTree.count(); }
    bool hasSelection() const { return MenuTree.selected() != nullptr; }
    // The selected item's menu path ("" when nothing is selected).
    std::string selectedPath() const;
    HWND tree() const { return MenuTree.h; }

private:
    wingui::TreeView MenuTree;
    taskloom::MenuTree menuTree_;
    bool filling_ = false;
};

// Controls: the rich edit with a window's control list, a text file or a
// DOS screen, and the caret's read-out below it.
class ControlsPage final : public FormPage {
public:
    // Loads the rich edit library (kept while the page lives) and shows
    // `text`. Throws std::runtime_error when the library is not there.
    ControlsPage(HWND page, HFONT font, int dpi, const std::string& text);

    void setText(const std::string& text);
    // The edit's lines; a rich edit ends its lines with CR.
    std::vector<std::string> lines() const;
    struct Caret {
        long line = 0;       // from 0
        long lineStart = 0;  // the line's first character
        long start = 0;      // the selection's first character
        long length = 0;     // the selection's length
    };
    Caret caret() const;
    // The caret to the start of the text.
    void caretHome();
    HWND edit() const { return Ctrl; }

    void UpdateLineCol();
    bool command(int id, int code, HWND control) override;

private:
    wingui::ScopedLibrary richEdit_;
    HWND Ctrl = nullptr;
    wingui::StatusBar ClipsStatusBar;
};

// Commands: the command tree and its three fields.
class CommandsPage final : public FormPage {
public:
    CommandsPage(HWND page, HFONT font, int dpi, HWND tips);

    // The chosen item's index in the command list; none when no item is
    // chosen.
    std::optional<std::size_t> chosenItem() const;
    // The fields; a count that is no number throws FieldError with the
    // field focused.
    taskloom::CommandFields fields() const;
    void focusName() const { SetFocus(PgmName); }
    void focusValue() const { SetFocus(ComValue); }
    // A browsed file into the field the button fills.
    void setBrowsed(taskloom::BrowseTarget target, const std::string& file);
    // The tree's top item opens one level.
    void expandTop();
    HWND tree() const { return CommandTree.h; }

private:
    void fillTree();

    wingui::TreeView CommandTree;
    wingui::ScopedImageList treeImages_;
    HWND PgmName = nullptr, BrowseBtn = nullptr, PauseEdit = nullptr, ComValue = nullptr, ParmBtn = nullptr;
    wingui::UpDown Pause;
};

// Keys: the key combination field, the text field, the Send Count and the
// list of key names.
class KeysPage final : public FormPage {
public:
    // `keyDown` runs when a key goes down in the key combination field and
    // answers whether it was taken as a token.
    KeysPage(HWND page, HFONT font, int dpi, HWND tips, std::function<bool(std::uint8_t)> keyDown);

    // The fields. `countUsed`: whether the Send Count matters to what
    // follows; where it does not, a field that holds no number reads as 1
    // (every line added sets it back to 1) instead of being refused.
    taskloom::KeyFields read(bool countUsed = true) const;
    void write(const taskloom::KeyFields& keys);
    std::string autoText() const { return wingui::TextOf(AutoText); }
    void setAutoText(const std::string& text) { wingui::SetText(AutoText, text); }
    // Key name `index` chosen in the list (-1: none).
    void selectKey(int index) { KeyBox.select(index); }
    HWND keyStrokes() const { return KeyStrokes; }
    // The "." sent while Alt is held comes back as a character: the field
    // does not take it.
    void expectDot() { dotPending_ = true; }

    void TabBtnClick();
    void AltBtnClick();
    void ClearKeysClick();
    bool command(int id, int code, HWND control) override;

private:
    static LRESULT CALLBACK KeyStrokesProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                           DWORD_PTR data);

    std::function<bool(std::uint8_t)> keyDown_;
    bool dotPending_ = false;  // the "." sent while Alt is held, not yet seen
    HWND KeyStrokes = nullptr, AutoText = nullptr, CountEdit = nullptr;
    wingui::UpDown Count;
    wingui::ListBox KeyBox;
};

// Popup: the note block's text, title, place and remark flag.
class PopupPage final : public FormPage {
public:
    // Made with the page's start values.
    PopupPage(HWND page, HFONT font, int dpi);

    taskloom::PopupPage read() const;
    void write(const taskloom::PopupPage& page);

private:
    HWND PopMemo = nullptr, PopTitle = nullptr;
    wingui::TrackBar PopBarH, PopBarV;
    wingui::Button RemarkBox;
};

// Clips: the clips buffer, read-only, and Clear.
class ClipsPage final : public FormPage {
public:
    ClipsPage(HWND page, HFONT font, int dpi);
    void show(const std::string& text);

private:
    HWND ClipsMemo = nullptr;
};

}  // namespace loomwright
