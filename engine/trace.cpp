#include "engine/trace.h"

#include <ostream>

#include "engine/sendkey.h"

namespace taskloom {

std::string NameOfKeyCode(unsigned char code) {
    static const char* const kNavigation[] = {"Home",  "End",  "Up",   "Down", "Left",
                                              "Right", "PgUp", "PgDn", "Ins",  "Del"};
    static const char* const kModifier[] = {"Shift down", "Shift up", "Ctrl down",
                                            "Ctrl up",    "Alt down", "Alt up"};
    switch (code) {
        case 8:
            return "Bksp";
        case 9:
            return "Tab";
        case 13:
            return "Enter";
        case 27:
            return "Esc";
        case 32:
            return "Space";
        case ',':
            return "Comma";
        default:
            break;
    }
    if (code < 32) return "vk " + std::to_string(code);
    if (code < 127) return std::string(1, static_cast<char>(code));
    if (code < kKeyF1) return "char " + std::to_string(code);
    if (code <= kKeyF12) return "F" + std::to_string(code - kKeyF1 + 1);
    if (code <= kKeyDel) return kNavigation[code - kKeyHome];
    return kModifier[code - kShiftDown];
}

std::string KeyStringWords(std::string_view keys) {
    std::string words;
    for (char c : keys) {
        if (!words.empty()) words += ", ";
        words += NameOfKeyCode(static_cast<unsigned char>(c));
    }
    return words;
}

std::string VisibleText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code == 27)
            shown += "<Esc>";
        else if (code == 9)
            shown += "<Tab>";
        else if (code < 32 || code == 127)
            shown += "<#" + std::to_string(code) + ">";
        else
            shown += c;
    }
    return shown;
}

void Tracer::lineStarts(std::size_t index, const std::string& text) {
    out_ << "line " << index + 1 << ": " << VisibleText(text) << "\n";
}

void Tracer::keysSent(const std::string& keys) { out_ << "  keys: " << KeyStringWords(keys) << "\n"; }

void Tracer::outcome(const std::string& what) { out_ << "  -> " << VisibleText(what) << "\n"; }

void Tracer::runEnds(const std::string& how) { out_ << "run " << VisibleText(how) << "\n" << std::flush; }

}  // namespace taskloom
