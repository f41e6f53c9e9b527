// The pad's clips pane: adding a clip within the pane's size limit, the
// line position hint, the two saves (plain text and one comma-delimited
// line, with the overwrite question of DoSaveDlg), and which clipboard
// changes are private and never collected.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/desktop.h"

namespace taskloom {

// The pane's text uses CR LF line breaks. Its lines: a final line break
// starts no line until something is written on it.
std::vector<std::string> PaneLines(std::string_view pane);

// Characters as the pane counts them against its size limit: a line break
// (CR LF, CR or LF) is one character.
std::size_t PaneSize(std::string_view text);

struct PaneAdd {
    std::string text;    // the pane's text afterwards
    bool added = false;  // false: the clip did not fit and the pane is unchanged
    std::string status;  // why a clip was not added
};

// Appends a clip (its line breaks made CR LF) and the delimiter after it:
// TAB, blank or comma appended, carriage return a line break, anything else
// (ESC, "none") nothing. A clip that does not fit the limit together with
// its delimiter is not added at all: every earlier clip stays whole, and
// `status` says so.
PaneAdd AddClipToPane(std::string_view pane, std::string_view clip, char delimiter, std::size_t limit);

// The line the hint shows for the caret's line (from 0) among `lineCount`
// lines: the empty line after a final line break counts as the last line.
int ClipsCaretLine(int caretLine, int lineCount);
// "Clips " line "/" lines, e.g. "Clips 2/2"; an empty pane reads "Clips 0/0".
// `full` adds " full" when the last clip did not fit.
std::string ClipsHint(int caretLine, int lineCount, bool full = false);
// The same for a caret at character `caret` of the pane's text.
std::string ClipsHintAt(std::string_view pane, std::size_t caret, bool full = false);

// The clips menu's items that depend on the pane: "&Copy" and "&Run" while
// the pane holds text, "&Last" while it has at least two lines.
struct ClipsItemsState {
    bool copyAndRun = false;
    bool last = false;
};
ClipsItemsState ClipsItems(std::string_view pane);

// "&Text File": the pane's lines, each ended by CR LF.
std::string PaneSaveText(std::string_view pane);
// "&Comma Delimited": one line, the pane's lines as comma text (a line with a
// blank, a control character, a comma or a double quote quoted, inner quotes
// doubled; one empty line gives ""), ended by CR LF.
std::string PaneCommaLine(std::string_view pane);

// What the clips saves need of the system: the save dialog, the Yes/No box
// and the files. The pad implements it with the common dialog and the file
// system; tests with a fake.
class ClipsSaveSystem {
public:
    virtual ~ClipsSaveSystem() = default;
    // The save dialog with the filter "All Files (*.*)|*.*", proposing
    // `proposed`; nothing on Cancel.
    virtual std::optional<std::string> chooseFile(const std::string& proposed) = 0;
    virtual bool exists(const std::string& name) = 0;
    // A Yes/No confirmation; true for Yes.
    virtual bool confirm(const std::string& question) = 0;
    // Both throw FileError when the file cannot be written.
    virtual void replace(const std::string& name, std::string_view text) = 0;
    virtual void append(const std::string& name, std::string_view text) = 0;
};

enum class ClipsSaveMode { Text, Comma };

enum class SaveOutcome {
    Cancelled,  // the dialog was cancelled: nothing written, the name forgotten
    Declined,   // text mode, "No" to overwriting: nothing written, the name forgotten
    Created,    // the file did not exist and was written
    Replaced,   // "Yes": the file holds just what was saved
    Appended,   // comma mode, "No": the line was added to the file
};

// "Overwrite file:", a line break and the file's name part.
std::string OverwriteQuestion(const std::string& file);

// DoSaveDlg and the write that follows it, for either save. `lastName` is
// the last clips file name: proposed to the dialog and updated (emptied by
// Cancel and by a declined text save).
SaveOutcome SaveClips(ClipsSaveMode mode, std::string_view pane, std::string& lastName,
                      ClipsSaveSystem& system);

// The registered clipboard formats by which programs (password managers and
// the like) mark a copy as not to be collected.
constexpr std::string_view kExcludeFromMonitorFormat = "ExcludeClipboardContentFromMonitorProcessing";
constexpr std::string_view kViewerIgnoreFormat = "Clipboard Viewer Ignore";
constexpr std::string_view kHistoryFormat = "CanIncludeInClipboardHistory";

struct ClipboardFormat {
    std::string name;                    // registered name; "" for standard formats
    std::optional<std::uint32_t> value;  // its data as a 32-bit number, where it has one
};

// A clipboard change is private (not added to the pane, not dialled) when it
// carries "ExcludeClipboardContentFromMonitorProcessing" or "Clipboard Viewer
// Ignore", or "CanIncludeInClipboardHistory" with the value 0. Names compare
// without case, as the system registers them.
bool IsPrivateClip(const std::vector<ClipboardFormat>& formats);

// The pad's decisions on clipboard change notices (ClipboardChanged), with
// its suppress mark: a copy the pad makes itself, or one made while the pad
// is the foreground window, is not collected. A notice whose clipboard
// sequence number the pad has seen already (two notices for one copy, or a
// notice that the pad's own reading caused) changes nothing; sequence
// number 0 means the system cannot tell, and every notice counts.
class ClipboardWatch {
public:
    explicit ClipboardWatch(Wnd pad) : pad_(pad) {}

    // The pad joined the viewer chain at this sequence number.
    void joined(std::uint32_t sequence);
    // A notice came: whether the pad should read the clipboard now (a new
    // copy that may be collected). `autoAdd`: "Auto &Add Clips" is checked.
    bool notice(std::uint32_t sequence, Wnd foreground, bool autoAdd);
    // What the read found (`sequence` as read while the clipboard was open,
    // 0 when it could not be opened): whether the text is to be collected.
    bool read(std::uint32_t sequence, bool hasText, bool isPrivate);
    // The pad puts something on the clipboard itself: the next change is
    // its own.
    void ownCopy() { mark_ = pad_; }
    // Explicit "&Add Clip" read the clipboard at this sequence number: a
    // notice of the same copy adds it no second time.
    void taken(std::uint32_t sequence);
    Wnd mark() const { return mark_; }

private:
    Wnd pad_;
    Wnd mark_ = 0;
    std::uint32_t last_ = 0;
};

}  // namespace taskloom
