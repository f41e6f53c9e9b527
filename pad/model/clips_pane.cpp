#include "pad/model/clips_pane.h"

#include <algorithm>

#include "engine/filestore.h"
#include "pad/model/pad_text.h"
#include "engine/text.h"

namespace taskloom {
namespace {

// The text with every line break (CR LF, CR or LF) made CR LF.
std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> PaneLines(std::string_view pane) { return SplitTextLines(pane); }

std::size_t PaneSize(std::string_view text) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        ++n;
    }
    return n;
}

PaneAdd AddClipToPane(std::string_view pane, std::string_view clip, char delimiter, std::size_t limit) {
    std::string added = WithCrLf(clip);
    if (delimiter == '\t' || delimiter == ' ' || delimiter == ',')
        added += delimiter;
    else if (delimiter == '\r')
        added += "\r\n";
    const std::size_t have = PaneSize(pane);
    const std::size_t need = PaneSize(added);
    PaneAdd r;
    if (need > limit || have > limit - need) {
        r.text = std::string(pane);
        r.status = "Clips full: a clip of " + std::to_string(need) +
                   " characters was not added (the pane holds " + std::to_string(have) + " of " +
                   std::to_string(limit) + ")";
        return r;
    }
    r.text = std::string(pane) + added;
    r.added = true;
    return r;
}

int ClipsCaretLine(int caretLine, int lineCount) {
    if (caretLine == lineCount && caretLine > 0) --caretLine;
    return caretLine;
}

std::string ClipsHint(int caretLine, int lineCount, bool full) {
    const int shown = lineCount <= 0 ? 0 : ClipsCaretLine(caretLine, lineCount) + 1;
    std::string hint = "Clips " + std::to_string(shown) + "/" + std::to_string(std::max(lineCount, 0));
    if (full) hint += " full";
    return hint;
}

std::string ClipsHintAt(std::string_view pane, std::size_t caret, bool full) {
    caret = std::min(caret, pane.size());
    int line = 0;
    for (std::size_t i = 0; i < caret; ++i)
        if (pane[i] == '\n' || (pane[i] == '\r' && (i + 1 >= pane.size() || pane[i + 1] != '\n'))) ++line;
    return ClipsHint(line, static_cast<int>(PaneLines(pane).size()), full);
}

ClipsItemsState ClipsItems(std::string_view pane) { return {!pane.empty(), PaneLines(pane).size() >= 2}; }

std::string PaneSaveText(std::string_view pane) {
    std::string text;
    for (const std::string& line : PaneLines(pane)) text += line + "\r\n";
    return text;
}

std::string PaneCommaLine(std::string_view pane) { return JoinCommaText(PaneLines(pane)) + "\r\n"; }

std::string OverwriteQuestion(const std::string& file) { return "Overwrite file:\n" + FileNamePart(file); }

SaveOutcome SaveClips(ClipsSaveMode mode, std::string_view pane, std::string& lastName,
                      ClipsSaveSystem& system) {
    const std::optional<std::string> chosen = system.chooseFile(lastName);
    if (!chosen) {
        lastName.clear();
        return SaveOutcome::Cancelled;
    }
    lastName = *chosen;
    const bool comma = mode == ClipsSaveMode::Comma;
    const std::string text = comma ? PaneCommaLine(pane) : PaneSaveText(pane);
    if (!system.exists(lastName)) {
        if (comma)
            system.append(lastName, text);
        else
            system.replace(lastName, text);
        return SaveOutcome::Created;
    }
    if (system.confirm(OverwriteQuestion(lastName))) {
        // Writing the new content in one step leaves the old file whole if
        // the write fails.
        system.replace(lastName, text);
        return SaveOutcome::Replaced;
    }
    if (!comma) {
        lastName.clear();
        return SaveOutcome::Declined;
    }
    system.append(lastName, text);
    return SaveOutcome::Appended;
}

bool IsPrivateClip(const std::vector<ClipboardFormat>& formats) {
    for (const ClipboardFormat& f : formats) {
        if (EqualsNoCase(f.name, kExcludeFromMonitorFormat) || EqualsNoCase(f.name, kViewerIgnoreFormat))
            return true;
        if (EqualsNoCase(f.name, kHistoryFormat) && f.value && *f.value == 0) return true;
    }
    return false;
}

void ClipboardWatch::joined(std::uint32_t sequence) {
    last_ = sequence;
    mark_ = 0;
}

bool ClipboardWatch::notice(std::uint32_t sequence, Wnd foreground, bool autoAdd) {
    if (sequence != 0 && sequence == last_) return false;
    last_ = sequence;
    if (mark_ != pad_) mark_ = foreground;
    if (autoAdd && mark_ != pad_) return true;
    mark_ = 0;
    return false;
}

bool ClipboardWatch::read(std::uint32_t sequence, bool hasText, bool isPrivate) {
    if (sequence != 0) last_ = sequence;
    if (hasText) return !isPrivate;  // the mark keeps the foreground window
    mark_ = 0;
    return false;
}

void ClipboardWatch::taken(std::uint32_t sequence) {
    if (sequence != 0) last_ = sequence;
}

}  // namespace taskloom
