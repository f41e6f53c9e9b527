// The composer's Tessdeck page: the pad editor. The palette of the 42 icons
// (ToolBar2), the preview of the pad being built (ToolBar1 inside GroupPad),
// the fields Description, Hot Key and Program/Script, and the buttons that
// open, save and test a pad file (.tkp).
//
// An icon is in exactly one of the two bars: assigning moves it from the
// palette to the end of the preview with its icon record (description, TAB,
// hot key, TAB, program); deleting moves it back to the end of the palette
// and gives its record back to the fields. The pad text and the rules of its
// fields are the portable core's (pad/model/pad_text.h); this page reads the
// controls, calls the core and shows the result.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "composer/form_page.h"
#include "engine/desktop.h"
#include "pad/model/pad_text.h"
#include "wingui/handles.h"

namespace loomwright {

// Command identifiers of the icon buttons: icon n (its image index) is
// kPadIconCommandFirst + n in whichever bar it is.
constexpr int kPadIconCommandFirst = 4000;

class TessdeckPage final : public FormPage {
public:
    // Creates the page's controls on `page` (sizes at 96 DPI scaled by
    // `dpi`). `scriptName` is the composer's document name, which the pad
    // commands read and change. Throws std::runtime_error when the icon set
    // cannot be loaded.
    TessdeckPage(HWND page, HWND form, HFONT font, int dpi, taskloom::Desktop& desktop,
                 const std::string& programDir, std::string& scriptName);
    ~TessdeckPage() override;

    // A WM_COMMAND from the page's controls; false when it is not the page's.
    bool command(int id, int code, HWND control) override;
    // A WM_NOTIFY from the page's controls; false when it is not the page's.
    bool notify(NMHDR* n, LRESULT& result);

    // The handlers.
    void ClickIconPad(int image);
    void EnableCheck();
    void BrowsePgmClick();
    void HotKeyDown(int key);
    // Answers whether the pad was written (false: the dialog was cancelled).
    bool SavePadClick();
    void LoadPadClick();
    void TestPadClick();

    // The question before Exit, the close box or Open Pad drop icons changed
    // since the pad was last opened or saved: Yes saves first. False when
    // the user keeps the pad (Cancel, or a cancelled Save dialog).
    bool MayDiscard();
    bool modified() const { return modified_; }

    // The program field (the script files' Open fills it too).
    void setRunName(const std::string& text);

    // What the Hot Key field's hint and the page's status bar say about the
    // key in the field ("" when nothing).
    const std::string& hotKeyHint() const { return hotKeyHint_; }

    // What the bars hold, in their order.
    const std::vector<int>& palette() const { return palette_; }
    const std::vector<taskloom::PadEntry>& preview() const { return preview_; }

private:
    void assign(int image);
    void remove(int image);
    void fillBar(HWND bar, const std::vector<int>& images, bool wrapRows);
    void sizePreview();
    void setGroupHint(bool on);
    bool askFileName(bool save, const std::string& filter, std::string& name);
    // Whether the pad could register this key now: it is registered for the
    // form under an identifier of the page's own and let go at once. A text
    // that names no key answers true.
    bool keyFree(const std::string& keyText) const;
    // The key in the field tried; its hint and the status bar told.
    void checkHotKey();
    static LRESULT CALLBACK HotKeyProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);

    HWND form_;
    taskloom::Desktop& desktop_;
    std::string programDir_;
    std::string& ScriptName;
    wingui::ScopedImageList images_;
    HWND tips_ = nullptr;
    bool groupHint_ = false;
    bool modified_ = false;  // icons assigned or deleted since the last open or save
    std::string hotKeyHint_;

    std::vector<int> palette_;                 // image indexes in palette order
    std::vector<taskloom::PadEntry> preview_;  // the pad in bar order

    // Components.
    HWND ToolBar2 = nullptr, GroupPad = nullptr, ToolBar1 = nullptr;
    HWND IconHint = nullptr, HotKey = nullptr, RunName = nullptr;
    HWND SpeedButton1 = nullptr, LoadPadBtn = nullptr, SavePadBtn = nullptr, TestPadBtn = nullptr;
    // The page's own status bar (the form's is hidden on this page): shown
    // while it has something to say about the hot key.
    HWND PadStatusBar = nullptr;
};

}  // namespace loomwright
