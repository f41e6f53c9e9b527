#include "composer/model/key_capture.h"

#include <algorithm>
#include <array>

#include "engine/desktop.h"
#include "engine/text.h"

namespace taskloom {

namespace {

struct VkName {
    std::uint8_t vk;
    const char* name;
};

constexpr std::array<VkName, 18> kKeyNames{{
    {kVkBack, "Bksp"},
    {kVkTab, "Tab"},
    {kVkReturn, "Enter"},
    {kVkShift, "Shift"},
    {kVkControl, "Ctrl"},
    {kVkMenu, "Alt"},
    {kVkEscape, "Esc"},
    {kVkSpace, "Space"},
    {kVkPrior, "PgUp"},
    {kVkNext, "PgDn"},
    {kVkEnd, "End"},
    {kVkHome, "Home"},
    {kVkLeft, "Left"},
    {kVkUp, "Up"},
    {kVkRight, "Right"},
    {kVkDown, "Down"},
    {kVkInsert, "Ins"},
    {kVkDelete, "Del"},
}};

bool CompletesCombination(char c) { return c == '/' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }

int HeldCount(int count) { return std::clamp(count, kCountMin, kCountMax); }

// "{name}" once, or "{name n}" with the count used up.
std::string CountedToken(std::string_view name, KeyFields& fields) {
    const int n = HeldCount(fields.count);
    if (n < 2) return "{" + std::string(name) + "}";
    fields.count = 1;
    return "{" + std::string(name) + " " + std::to_string(n) + "}";
}

}  // namespace

std::optional<std::string_view> KeyNameOf(std::uint8_t vk) {
    for (const VkName& k : kKeyNames)
        if (k.vk == vk) return k.name;
    return std::nullopt;
}

KeyPressResult KeyStrokesKeyUp(KeyFields& fields, std::uint8_t vk, char unshifted) {
    KeyPressResult result;
    if (!fields.keyStrokes.empty() && CompletesCombination(unshifted)) {
        result.line = fields.keyStrokes + unshifted;
        fields.keyStrokes.clear();
        return result;
    }
    std::string token;
    if (vk >= kVkF1 && vk <= kVkF12) {
        token = "{F" + std::to_string(vk - kVkF1 + 1) + "}";
    } else if (std::optional<std::string_view> name = KeyNameOf(vk)) {
        token = CountedToken(*name, fields);
        result.sendDot = vk == kVkMenu;
    }
    fields.keyStrokes += token;
    return result;
}

void TabBtnClick(KeyFields& fields) { fields.keyStrokes += CountedToken("Tab", fields); }

void AltBtnClick(KeyFields& fields) { fields.keyStrokes += "{Alt}"; }

void ClearKeysClick(KeyFields& fields) { fields = KeyFields{}; }

std::string KeyPartOfAddLine(std::string scriptLine, KeyFields& fields) {
    const int n = HeldCount(fields.count);
    fields.autoText =
        TripleBraces(TripleBraces(fields.autoText, '{', BraceMode::Escape), '}', BraceMode::Escape);
    if (!fields.keyStrokes.empty()) scriptLine = fields.keyStrokes;
    if (n > 1) {
        if (!scriptLine.empty()) {
            scriptLine += " " + std::to_string(n);
        } else if (!fields.autoText.empty() && !Contains(fields.autoText, " ")) {
            scriptLine = "{" + fields.autoText + " " + std::to_string(n);
            fields.autoText.clear();
        }
    }
    return scriptLine;
}

}  // namespace taskloom
