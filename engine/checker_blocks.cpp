// The checks of remark and note blocks: the lines a block takes in, a
// note's header and the files its "@file" lines name.
#include "engine/checker_parts.h"

#include <cstdint>
#include <filesystem>

#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/filestore.h"
#include "engine/text.h"

namespace taskloom::check {

// A remark or note head takes the lines after it up to the next line
// holding "{:" as its text: when the run comes to the head, those lines
// do not run as script lines. Such lines hold no command, so the blocks
// follow from reading the list once from the top.
void Checker::findBlocks() {
    const std::size_t n = lines_.size();
    blockOf_.assign(n, std::nullopt);
    for (std::size_t i = 0; i < n;) {
        const CommandKind row = rowOf(i);
        if (row != CommandKind::Remark && row != CommandKind::PopUp) {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < n && !Contains(lines_[j], "{:")) ++j;
        const Block b{i, row == CommandKind::PopUp, TrimBlanks(readings_[i]->scriptLine) == ":/", j == n};
        for (std::size_t k = i + 1; k < j; ++k) blockOf_[k] = b;
        i = j;
    }
}

void Checker::checkBlockLine(std::size_t i, const Block& b) {
    const std::string& line = lines_[i];
    if (b.note && StartsWith(line, "@")) {
        checkNoteFile(i, b, line.substr(1));
        return;
    }
    if (IsBlankText(line)) return;
    const std::string head = LineWord(b.head);
    const auto label = LabelOfLine(line);
    if (label && !b.note) {
        // Skipping a label line changes nothing; but a jump to it runs
        // the remark text after it as script lines.
        const bool textFollows = i + 1 < lines_.size() && blockOf_[i + 1] &&
                                 blockOf_[i + 1]->head == b.head && !IsBlankText(lines_[i + 1]);
        if (textFollows && jumpTargets_.count(UpperCase(*label)))
            warning(i, "a jump to " + Quote(line) + " runs the text of the remark block of " + head +
                           " after it as script lines, starting with " + Quote(lines_[i + 1]) + " (" +
                           LineWord(i + 1) + ")");
        return;
    }
    const LineScan& s = scans_[i];
    const bool looksLikeScript =
        label || (!s.tokens.empty() && s.tokens[0].kind == LineToken::Key && !s.literalLine &&
                  LookupKeyName(s.tokens[0].text.substr(0, s.tokens[0].text.find(' '))));
    if (b.note) {
        if (looksLikeScript)
            warning(i, Quote(line) + " is shown as a line of the note of " + head + ", not run (a note's " +
                           "lines reach up to the next line holding \"{:\")");
        return;
    }
    if (!b.closing && !looksLikeScript) return;
    std::string message = Quote(line);
    if (b.closing)
        message += b.final ? " never runs: \"{:/}\" on " + head +
                                 " skips to the end of the script (no later line "
                                 "holds \"{:\")"
                           : " is skipped: \"{:/}\" on " + head +
                                 " skips every line up to the next line holding "
                                 "\"{:\"";
    else
        message += b.final ? " never runs: it is text of the remark block of " + head +
                                 ", which reaches the " + "end of the script"
                           : " is skipped as text of the remark block of " + head + " (up to the next line " +
                                 "holding \"{:\")";
    warning(i, message);
}

void Checker::checkNoteFile(std::size_t i, const Block& b, const std::string& name) {
    const std::string where = "the run would be abandoned at the note of " + LineWord(b.head);
    if (IsBlankText(name)) {
        error(i, "\"@\" names no note file: " + where);
        return;
    }
    bool absolute = false;
    try {
        absolute = std::filesystem::path(name).is_absolute();
    } catch (const std::exception&) {
        absolute = false;  // a name this system cannot take as a path: not checkable here
    }
    if (FileExists(name)) return;
    if (absolute) {
        error(i, "the note file " + QuoteName(name) + " does not exist: " + where);
        return;
    }
    if (FileExists(folder_ + name)) return;
    warning(i, "the note file " + QuoteName(name) +
                   " is neither in the current folder nor in the script's folder" +
                   (folder_.empty() ? std::string() : " " + QuoteName(folder_)) +
                   ": it cannot be checked here; at run time it is looked for in the current folder and in " +
                   "the program's folder, and " + where + " if it is in neither");
}

void Checker::checkNote(std::size_t i, const LineReading& r) {
    NoteHeader h;
    try {
        h = ReadNoteHeader(r.parameter);
    } catch (const ScriptError& e) {
        error(i, Braced(r.scriptLine) + ": " + e.what() + "; the run would be abandoned here (the form is " +
                     "\"{:PopUp x y title}\")");
        return;
    }
    // ReadNoteHeader has already moved a low note up; the written y is wanted.
    const std::size_t first = r.parameter.find(' ');
    const std::size_t second = r.parameter.find(' ', first + 1);
    const std::int32_t y = ToInteger(r.parameter.substr(first + 1, second - first - 1)).value_or(0);
    if (y >= 400)
        warning(i, "the note's y " + std::to_string(y) + " is 400 or more: the note is shown at y 350");
    if (i + 1 >= lines_.size() || Contains(lines_[i + 1], "{:"))
        warning(i, "the note " + Quote(h.title) + " has no lines and is not shown (its lines follow it, up " +
                       "to the next line holding \"{:\")");
}

}  // namespace taskloom::check
