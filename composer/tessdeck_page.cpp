#include "composer/tessdeck_page.h"

#include <commdlg.h>

#include <algorithm>
#include <stdexcept>

#include "composer/control_ids.h"
#include "composer/model/composer_model.h"
#include "composer/model/pad_hot_keys.h"
#include "pad/model/hot_key_check.h"
#include "engine/filestore.h"
#include "pad/model/pad_layout.h"
#include "pad/model/shortcut_text.h"
#include "wingui/file_dialog.h"
#include "wingui/controls.h"
#include "wingui/dpi.h"
#include "wingui/error_report.h"
#include "wingui/icon_list.h"
#include "wingui/startup_trace.h"
#include "win32/win32_desktop.h"

namespace loomwright {

namespace {

const char kPadFilter[] = "Tessdeck Files (*.tkp)|*.tkp";
const char kExecFilter[] = "Exec Files|*.tks;*.exe;*.com;*.bat";
const char kPaletteHint[] = "Click on icon to assign it";
const char kGroupHint[] = "Click on icon to delete it";
constexpr int kPaletteColumns = 6;
constexpr int kButtonWidth = 23, kButtonHeight = 22, kImageSize = 16;
constexpr UINT_PTR kGroupTool = 1;
// The identifier under which a key is tried (the program's own range ends
// at 0xBFFF).
constexpr int kTrialHotKeyId = 0xB7D1;

// Places on the page at 96 DPI.
constexpr wingui::Rect96 kPalettePlace{6, 6, 142, 158};
constexpr wingui::Rect96 kGroupPlace{4, 170, 484, 48};
constexpr int kBarLeft = 10, kBarTop = 187, kBarHeight = 24;

std::string Quoted(const std::string& arg) { return "\"" + arg + "\""; }

HWND MakeBar(HWND page, int id, DWORD style, HIMAGELIST images, int dpi) {
    HWND bar = CreateWindowExA(
        0, TOOLBARCLASSNAMEA, "",
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | style, 0, 0,
        0, 0, page, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (!bar) throw std::runtime_error("cannot create the Tessdeck page's icon bars");
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    const int image = wingui::Scale(kImageSize, dpi);
    SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(image, image));
    SendMessageA(bar, TB_SETBUTTONSIZE, 0,
                 MAKELPARAM(wingui::Scale(kButtonWidth, dpi), wingui::Scale(kButtonHeight, dpi)));
    return bar;
}

}  // namespace

TessdeckPage::TessdeckPage(HWND page, HWND form, HFONT font, int dpi, taskloom::Desktop& desktop,
                           const std::string& programDir, std::string& scriptName)
    : FormPage(page, font, dpi),
      form_(form),
      desktop_(desktop),
      programDir_(programDir),
      ScriptName(scriptName) {
    images_.reset(wingui::MakeIconImageList(wingui::Scale(kImageSize, dpi_)));
    wingui::StartupStep("icon image list (Tessdeck page)");
    // The palette starts with its first icon at the end: it went onto the
    // empty pad bar and back when the form was set up.
    for (int i = 1; i < taskloom::kIconCount; ++i) palette_.push_back(i);
    palette_.push_back(0);

    const DWORD tab = WS_TABSTOP;
    ToolBar2 = MakeBar(page_, kIdPadPalette, TBSTYLE_WRAPABLE, images_.get(), dpi_);
    wingui::Place(ToolBar2, kPalettePlace, dpi_);
    GroupPad = child("BUTTON", " Tessdeck Toolbar Icons ", BS_GROUPBOX, kIdPadGroup, kGroupPlace);
    ToolBar1 = MakeBar(page_, kIdPadBar, TBSTYLE_TOOLTIPS, images_.get(), dpi_);
    children(
        {{"STATIC",
          "Enter parameters below, then click icons to assign to Tessdeck.",
          0,
          kIdPadGuide,
          {156, 4, 332, 28}},
         {"STATIC", "Description", 0, kIdIconHintLabel, {156, 39, 88, 16}},
         {"EDIT", "", tab | ES_AUTOHSCROLL, kIdIconHint, {248, 36, 236, 22}, WS_EX_CLIENTEDGE, &IconHint},
         {"STATIC", "Hot Key", 0, kIdHotKeyLabel, {156, 65, 88, 16}},
         {"EDIT",
          "",
          tab | ES_READONLY | ES_AUTOHSCROLL,
          kIdHotKey,
          {248, 62, 120, 22},
          WS_EX_CLIENTEDGE,
          &HotKey},
         {"STATIC", "Program/Script", 0, kIdRunNameLabel, {156, 91, 88, 16}},
         {"EDIT", "", tab | ES_AUTOHSCROLL, kIdRunName, {248, 88, 236, 22}, WS_EX_CLIENTEDGE, &RunName},
         {"BUTTON", "&Browse...", tab | BS_PUSHBUTTON, kIdPadBrowseBtn, {404, 114, 80, 25}, 0, &SpeedButton1},
         {"BUTTON", "&Open Pad...", tab | BS_PUSHBUTTON, kIdLoadPadBtn, {156, 142, 104, 25}, 0, &LoadPadBtn},
         {"BUTTON", "&Save Pad...", tab | BS_PUSHBUTTON, kIdSavePadBtn, {268, 142, 104, 25}, 0, &SavePadBtn},
         {"BUTTON", "&Test Pad...", tab | BS_PUSHBUTTON, kIdTestPadBtn, {380, 142, 104, 25}, 0, &TestPadBtn},
         {STATUSCLASSNAMEA,
          "",
          CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER,
          kIdPadStatusBar,
          {156, 115, 240, 22},
          0,
          &PadStatusBar}});
    SendMessageA(IconHint, EM_SETLIMITTEXT, 40, 0);
    SendMessageA(HotKey, EM_SETLIMITTEXT, 20, 0);
    SetWindowSubclass(HotKey, HotKeyProc, 1, reinterpret_cast<DWORD_PTR>(this));
    wingui::StatusBar{PadStatusBar}.setParts({-1});
    ShowWindow(PadStatusBar, SW_HIDE);

    // The palette's hint, and the group's while the pad has icons.
    tips_ = wingui::CreateTips(form_);
    wingui::AddHint(tips_, ToolBar2, kPaletteHint);
    sizePreview();
    wingui::Enable(SavePadBtn, false);
    EnableCheck();
}

TessdeckPage::~TessdeckPage() {
    if (HotKey && IsWindow(HotKey)) RemoveWindowSubclass(HotKey, HotKeyProc, 1);
    if (tips_ && IsWindow(tips_)) DestroyWindow(tips_);
    // The bars go with the form; they must not draw with a list that is gone.
    for (HWND bar : {ToolBar1, ToolBar2})
        if (IsWindow(bar)) SendMessageA(bar, TB_SETIMAGELIST, 0, 0);
    images_.reset();
}

bool TessdeckPage::command(int id, int code, HWND control) {
    if (id >= kPadIconCommandFirst && id < kPadIconCommandFirst + taskloom::kIconCount &&
        (control == ToolBar1 || control == ToolBar2)) {
        ClickIconPad(id - kPadIconCommandFirst);
        return true;
    }
    if (id == kIdHotKey && code == EN_CHANGE && control == HotKey) {
        checkHotKey();
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
        case kIdPadBrowseBtn:
            BrowsePgmClick();
            return true;
        case kIdLoadPadBtn:
            LoadPadClick();
            return true;
        case kIdSavePadBtn:
            SavePadClick();
            return true;
        case kIdTestPadBtn:
            TestPadClick();
            return true;
        default:
            return false;
    }
}

bool TessdeckPage::notify(NMHDR* n, LRESULT& result) {
    if (n->hwndFrom != ToolBar1) return false;
    // A preview button's hint is its whole icon record.
    auto record = [&](int command) -> std::string {
        const int image = command - kPadIconCommandFirst;
        for (const auto& e : preview_)
            if (e.image == image) return e.record;
        return {};
    };
    if (n->code == TBN_GETINFOTIPA) {
        auto* tip = reinterpret_cast<NMTBGETINFOTIPA*>(n);
        if (tip->pszText && tip->cchTextMax > 0) {
            const std::string text = record(tip->iItem);
            const size_t len = std::min(text.size(), static_cast<size_t>(tip->cchTextMax - 1));
            std::copy_n(text.data(), len, tip->pszText);
            tip->pszText[len] = '\0';
        }
        result = 0;
        return true;
    }
    if (n->code == TBN_GETINFOTIPW) {
        auto* tip = reinterpret_cast<NMTBGETINFOTIPW*>(n);
        if (tip->pszText && tip->cchTextMax > 0) {
            const std::string text = record(tip->iItem);
            const int len = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                tip->pszText, tip->cchTextMax - 1);
            tip->pszText[len > 0 ? len : 0] = L'\0';
        }
        result = 0;
        return true;
    }
    return false;
}

void TessdeckPage::ClickIconPad(int image) {
    if (std::find(palette_.begin(), palette_.end(), image) != palette_.end())
        assign(image);
    else
        remove(image);
}

void TessdeckPage::assign(int image) {
    if (preview_.size() >= static_cast<size_t>(taskloom::kMaxPadIcons)) return;
    taskloom::IconFields fields{wingui::TextOf(IconHint), wingui::TextOf(HotKey), wingui::TextOf(RunName)};
    if (fields.program.empty()) {
        SetFocus(RunName);
        MessageBoxA(form_, "Undefined field", wingui::ReportTitle().c_str(), MB_OK | MB_ICONERROR);
        return;
    }
    // Without a description the program's file name stands for it.
    const bool proposed = fields.description.empty();
    if (proposed) fields.description = taskloom::FileNamePart(fields.program).substr(0, 40);
    // A field with a TAB or a line end is refused here, before anything moves.
    std::string record = taskloom::MakeIconRecord(fields);
    // Two icons of the pad with one key are refused; a key that cannot work
    // is written only if the user wants it.
    const taskloom::AssignCheck check =
        taskloom::CheckIconHotKey(preview_, fields, keyFree(fields.hotKey), taskloom::LayoutKeyName);
    if (check.verdict == taskloom::AssignVerdict::Refuse) {
        MessageBoxA(form_, check.text.c_str(), wingui::ReportTitle().c_str(), MB_OK | MB_ICONERROR);
        return;
    }
    if (check.verdict == taskloom::AssignVerdict::Ask &&
        MessageBoxA(form_, check.text.c_str(), wingui::ReportTitle().c_str(), MB_YESNO | MB_ICONWARNING) !=
            IDYES)
        return;
    if (proposed) wingui::SetText(IconHint, fields.description);
    palette_.erase(std::find(palette_.begin(), palette_.end(), image));
    preview_.push_back({image, std::move(record)});
    modified_ = true;
    sizePreview();
    wingui::Enable(SavePadBtn, true);
    EnableCheck();
}

void TessdeckPage::remove(int image) {
    const auto it =
        std::find_if(preview_.begin(), preview_.end(), [&](const auto& e) { return e.image == image; });
    if (it == preview_.end()) return;
    // The whole record comes back: no part of a long program text is cut.
    const taskloom::IconFields fields = taskloom::RecordFields(it->record);
    wingui::SetText(IconHint, fields.description);
    wingui::SetText(HotKey, fields.hotKey);
    wingui::SetText(RunName, fields.program);
    preview_.erase(it);
    palette_.push_back(image);
    modified_ = true;
    sizePreview();
    wingui::Enable(SavePadBtn, true);
    EnableCheck();
}

void TessdeckPage::fillBar(HWND bar, const std::vector<int>& images, bool wrapRows) {
    SendMessageA(bar, WM_SETREDRAW, FALSE, 0);
    while (SendMessageA(bar, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(bar, TB_DELETEBUTTON, 0, 0);
    std::vector<TBBUTTON> buttons(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        TBBUTTON& b = buttons[i];
        b.iBitmap = images[i];
        b.idCommand = kPadIconCommandFirst + images[i];
        b.fsState = TBSTATE_ENABLED;
        // Rows of six in the palette.
        if (wrapRows && i % kPaletteColumns == kPaletteColumns - 1) b.fsState |= TBSTATE_WRAP;
        b.fsStyle = BTNS_BUTTON;
        b.iString = -1;
    }
    if (!buttons.empty())
        SendMessageA(bar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageA(bar, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(bar, nullptr, TRUE);
}

void TessdeckPage::sizePreview() {
    SetWindowPos(ToolBar1, nullptr, wingui::Scale(kBarLeft, dpi_), wingui::Scale(kBarTop, dpi_),
                 wingui::Scale(taskloom::PreviewBarWidth(static_cast<int>(preview_.size())), dpi_),
                 wingui::Scale(kBarHeight, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TessdeckPage::setGroupHint(bool on) {
    if (!tips_ || on == groupHint_) return;
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = page_;
    ti.uId = kGroupTool;
    if (on) {
        RECT r{};
        GetWindowRect(GroupPad, &r);
        MapWindowPoints(nullptr, page_, reinterpret_cast<POINT*>(&r), 2);
        ti.uFlags = TTF_SUBCLASS;
        ti.rect = r;
        ti.lpszText = const_cast<char*>(kGroupHint);
        SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    } else {
        SendMessageA(tips_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    groupHint_ = on;
}

void TessdeckPage::EnableCheck() {
    fillBar(ToolBar2, palette_, true);
    std::vector<int> pad;
    for (const auto& e : preview_) pad.push_back(e.image);
    fillBar(ToolBar1, pad, false);
    if (!preview_.empty()) {
        setGroupHint(true);
    } else {
        wingui::Enable(SavePadBtn, false);
        wingui::Enable(LoadPadBtn, true);
        setGroupHint(false);
    }
    // A pad can be tried out as it was opened; any change asks for a save first.
    wingui::Enable(TestPadBtn, !wingui::Enabled(SavePadBtn) && !preview_.empty());
}

// Run on WM_KEYUP and WM_SYSKEYUP (a key let go), despite its name.
void TessdeckPage::HotKeyDown(int key) {
    unsigned mods = 0;
    if (GetKeyState(VK_CONTROL) & 0x8000) mods |= taskloom::kModCtrl;
    if (GetKeyState(VK_SHIFT) & 0x8000) mods |= taskloom::kModShift;
    if (GetKeyState(VK_MENU) & 0x8000) mods |= taskloom::kModAlt;
    // The high bit marks a dead key; its character counts all the same.
    const char mapped = static_cast<char>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_CHAR) & 0x7FFF);
    const std::string current = wingui::TextOf(HotKey);
    const std::string text =
        taskloom::ComposerHotKeyText(key, mapped, mods, current, taskloom::LayoutKeyName);
    if (text != current) wingui::SetText(HotKey, text);
}

void TessdeckPage::setRunName(const std::string& text) { wingui::SetText(RunName, text); }

bool TessdeckPage::keyFree(const std::string& keyText) const {
    const taskloom::Shortcut key = taskloom::ParseShortcut(keyText, nullptr, taskloom::LayoutKeyName);
    if (key.key == 0) return true;
    if (!RegisterHotKey(form_, kTrialHotKeyId, key.mods, static_cast<UINT>(key.key))) return false;
    UnregisterHotKey(form_, kTrialHotKeyId);
    return true;
}

void TessdeckPage::checkHotKey() {
    const std::string key = wingui::TextOf(HotKey);
    const std::string hint = taskloom::HotKeyFieldHint(key, keyFree(key), taskloom::LayoutKeyName);
    if (hint == hotKeyHint_) return;
    hotKeyHint_ = hint;
    // The field's hint: there only while it has something to say.
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = page_;
    ti.uId = reinterpret_cast<UINT_PTR>(HotKey);
    SendMessageA(tips_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    if (!hint.empty()) wingui::AddHint(tips_, HotKey, hint.c_str());
    wingui::StatusBar{PadStatusBar}.setText(0, hint);
    ShowWindow(PadStatusBar, hint.empty() ? SW_HIDE : SW_SHOWNA);
}

bool TessdeckPage::askFileName(bool save, const std::string& filter, std::string& name) {
    // In the program's folder, as the composer's other dialogs.
    const wingui::FileDialog d{form_, filter, programDir_};
    const std::optional<std::string> chosen =
        save ? wingui::AskSaveFile(d, name) : wingui::AskOpenFile(d, name);
    if (chosen) name = *chosen;
    return chosen.has_value();
}

void TessdeckPage::BrowsePgmClick() {
    std::string name;
    if (askFileName(false, kExecFilter, name)) setRunName(name);
}

bool TessdeckPage::SavePadClick() {
    std::string name = taskloom::ProposedPadName(ScriptName);
    if (!askFileName(true, kPadFilter, name)) return false;
    // The chosen name as typed: no extension is added.
    ScriptName = name;
    taskloom::WriteTextFile(name, taskloom::FormatPadText(preview_));
    modified_ = false;
    return true;
}

bool TessdeckPage::MayDiscard() {
    if (!taskloom::AskToSavePad(modified_, preview_.size())) return true;
    switch (MessageBoxA(form_, taskloom::kSavePadQuestion, wingui::ReportTitle().c_str(),
                        MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES:
            return SavePadClick();
        case IDNO:
            return true;
        default:
            return false;
    }
}

void TessdeckPage::LoadPadClick() {
    if (!MayDiscard()) return;
    std::string name = taskloom::ProposedPadName(ScriptName);
    if (!askFileName(false, kPadFilter, name)) return;
    // Read first: a cancelled dialog or a file that cannot be read leaves
    // the pad as it was.
    const taskloom::PadLoad load =
        taskloom::ParsePadText(taskloom::ReadTextFile(name), taskloom::PadReader::Composer);
    ScriptName = name;
    for (const auto& e : preview_) palette_.push_back(e.image);
    preview_.clear();
    modified_ = false;
    // A pad as it was opened needs no save, and can be tried out at once.
    wingui::Enable(SavePadBtn, false);
    size_t left = 0;
    for (const auto& entry : load.entries) {
        const auto it = std::find(palette_.begin(), palette_.end(), entry.image);
        if (it == palette_.end()) continue;
        if (preview_.size() >= static_cast<size_t>(taskloom::kMaxPadIcons)) {
            ++left;
            continue;
        }
        palette_.erase(it);
        preview_.push_back(entry);
    }
    sizePreview();
    EnableCheck();
    // The icons placed so far stay; what stopped the load is said.
    if (!load.error.empty()) wingui::ShowErrorReport(form_, name + ": " + load.error);
    if (left > 0)
        wingui::ShowErrorReport(form_, name + ": a pad holds at most 20 icons; the " + std::to_string(left) +
                                           " icon(s) after the 20th were not placed.");
    // A pad written elsewhere may give two icons one key: they are kept,
    // and the user told which key starts which.
    const std::string twins = taskloom::DuplicateHotKeysText(
        preview_, taskloom::DuplicateHotKeys(preview_, taskloom::LayoutKeyName));
    if (!twins.empty()) wingui::ShowErrorReport(form_, name + ":\n" + twins);
}

void TessdeckPage::TestPadClick() {
    if (!taskloom::IsTestablePadName(ScriptName)) return;
    const std::string pad = programDir_ + "tessdeck.exe";
    if (!desktop_.shellExecute(reinterpret_cast<taskloom::Wnd>(form_), pad, Quoted(ScriptName), programDir_,
                               SW_SHOWNORMAL))
        wingui::ShowErrorReport(form_, taskloom::ShellStartFailedText(pad));
}

// Key releases in the read-only Hot Key field make the hot key text. The
// field takes every key but Tab, and keys held with Alt do not reach the
// menu bar.
LRESULT CALLBACK TessdeckPage::HotKeyProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TessdeckPage*>(data);
    switch (msg) {
        case WM_GETDLGCODE:
            return wingui::WantAllKeysButTab(h, wp, lp);
        case WM_KEYUP:
        case WM_SYSKEYUP:
            wingui::Guarded(self->form_, [&] { self->HotKeyDown(static_cast<int>(wp)); });
            return 0;
        case WM_SYSKEYDOWN:
            if (wp == VK_F4) break;  // Alt+F4 still closes the form
            return 0;
        case WM_SYSCHAR:
            return 0;
        case WM_NCDESTROY:
            RemoveWindowSubclass(h, HotKeyProc, 1);
            break;
        default:
            break;
    }
    return DefSubclassProc(h, msg, wp, lp);
}

}  // namespace loomwright
