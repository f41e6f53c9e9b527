#include "pad/model/pad_text.h"

#include <algorithm>
#include <optional>
#include <set>

#include "engine/text.h"

namespace taskloom {
namespace {

void CheckField(std::string_view value, const char* name) {
    if (value.find('\t') != std::string_view::npos)
        throw PadTextError(std::string("the icon's ") + name + " holds a TAB, which a pad file cannot keep");
    if (value.find('\r') != std::string_view::npos)
        throw PadTextError(std::string("the icon's ") + name +
                           " holds a line break, which a pad file cannot keep");
}

std::string Shown(std::string_view line) {
    constexpr std::size_t kMax = 40;
    std::string s(line.substr(0, kMax));
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    return line.size() > kMax ? s + "..." : s;
}

}  // namespace

std::string MakeIconRecord(const IconFields& fields) {
    CheckField(fields.description, "description");
    CheckField(fields.hotKey, "hot key");
    CheckField(fields.program, "program text");
    return fields.description + '\t' + fields.hotKey + '\t' + fields.program;
}

IconFields RecordFields(std::string_view record) {
    IconFields f;
    const std::size_t first = record.find('\t');
    f.description = std::string(record.substr(0, first));
    if (first == std::string_view::npos) return f;
    std::string_view rest = record.substr(first + 1);
    const std::size_t second = rest.find('\t');
    f.hotKey = std::string(rest.substr(0, second));
    if (second != std::string_view::npos) f.program = std::string(rest.substr(second + 1));
    return f;
}

std::vector<std::string> SplitFields(std::string_view text, char delimiter) {
    std::vector<std::string> items;
    while (!text.empty()) {
        const std::size_t at = text.find(delimiter);
        items.emplace_back(text.substr(0, at));
        if (at == std::string_view::npos) break;
        text.remove_prefix(at + 1);
    }
    return items;
}

std::string FormatPadText(const std::vector<PadEntry>& entries) {
    std::string text;
    for (const PadEntry& e : entries) {
        if (e.image < 0 || e.image >= kIconCount)
            throw PadTextError("icon number " + std::to_string(e.image) + " is not in the icon set (0 to " +
                               std::to_string(kIconCount - 1) + ")");
        if (e.record.find('\r') != std::string::npos)
            throw PadTextError("the record of icon " + std::to_string(e.image) +
                               " holds a line break, which a pad file cannot keep");
        if (std::count(e.record.begin(), e.record.end(), '\t') > 2)
            throw PadTextError("a field of icon " + std::to_string(e.image) +
                               " holds a TAB, which a pad file cannot keep");
        text += std::to_string(e.image) + '\t' + e.record + '\r';
    }
    return text;
}

PadLoad ParsePadText(std::string_view text, PadReader reader) {
    PadLoad load;
    std::set<int> placed;
    std::size_t lineNo = 0;
    while (!text.empty()) {
        const std::size_t cr = text.find('\r');
        if (cr == std::string_view::npos && reader == PadReader::Composer) break;
        std::string_view line = text.substr(0, cr);
        text.remove_prefix(cr == std::string_view::npos ? text.size() : cr + 1);
        if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
        ++lineNo;
        if (line.empty()) continue;

        const std::size_t tab = line.find('\t');
        const std::string_view number = line.substr(0, tab);
        const std::optional<std::int32_t> image = ToInteger(number);
        if (!image) {
            load.error =
                "line " + std::to_string(lineNo) + ": \"" + Shown(number) + "\" is not a valid icon number";
            return load;
        }
        if (*image < 0 || *image >= kIconCount) {
            load.notes.push_back("line " + std::to_string(lineNo) + ": icon " + std::to_string(*image) +
                                 " is not in the icon set (0 to " + std::to_string(kIconCount - 1) + ")");
            continue;
        }
        if (!placed.insert(*image).second) {
            load.notes.push_back("line " + std::to_string(lineNo) + ": icon " + std::to_string(*image) +
                                 " is on the pad already");
            continue;
        }
        load.entries.push_back(
            {*image, tab == std::string_view::npos ? std::string() : std::string(line.substr(tab + 1))});
    }
    return load;
}

std::string ProposedPadName(std::string_view name) {
    std::string s(name);
    const std::size_t at = s.find(".tk");
    if (at != std::string::npos) s.erase(at, 4);
    if (!s.empty()) s += ".tkp";
    return s;
}

bool IsTestablePadName(std::string_view name) {
    const std::size_t at = name.find(".tkp");
    return at != std::string_view::npos && at >= 2;
}

bool IsScriptPath(std::string_view text) {
    const std::size_t at = text.find(".tks");
    return at != std::string_view::npos && at >= 1;
}

Launch LaunchOf(std::string_view programText) {
    if (programText.find_first_not_of(' ') == std::string_view::npos) return Launch::Nothing;
    return IsScriptPath(programText) ? Launch::Script : Launch::Shell;
}

std::string FileNamePart(std::string_view path) {
    const std::size_t at = path.find_last_of("\\:");
    return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

}  // namespace taskloom
