#include "engine/sendkey.h"

#include <random>

namespace taskloom {
namespace {

std::minstd_rand& PacingGenerator() {
    static std::minstd_rand gen{20261208u};
    return gen;
}

// Keys outside the main block: sent as extended keys so that Num Lock and
// programs that read scan codes cannot take them for keypad digits.
bool IsNavigationCode(unsigned char code) { return code >= kKeyHome && code <= kKeyDel; }

}  // namespace

std::uint8_t VirtualKeyOfCode(unsigned char code) {
    static constexpr std::uint8_t kNavigation[] = {kVkHome,  kVkEnd,   kVkUp,   kVkDown,   kVkLeft,
                                                   kVkRight, kVkPrior, kVkNext, kVkInsert, kVkDelete};
    if (code < 32) return code;
    if (code >= kKeyF1 && code <= kKeyF12) return static_cast<std::uint8_t>(code - 116);
    if (IsNavigationCode(code)) return kNavigation[code - kKeyHome];
    if (code >= kShiftDown) {
        static constexpr std::uint8_t kModifier[] = {kVkShift, kVkControl, kVkMenu};
        return kModifier[(code - kShiftDown) / 2];
    }
    return 0;
}

void SeedKeyPacing(std::uint32_t seed) { PacingGenerator().seed(seed); }

void SendKeyString(Desktop& desktop, std::string_view keys) {
    bool modifierHeld = false;
    auto& gen = PacingGenerator();
    for (size_t i = 0; i < keys.size(); ++i) {
        const auto code = static_cast<unsigned char>(keys[i]);
        // A draw from 0 to i (positions counted from 1: 0 to position - 1).
        if (std::uniform_int_distribution<size_t>(0, i)(gen) % 4 == 0) desktop.sleep(1);

        if (code >= kShiftDown) {
            const std::uint8_t vk = VirtualKeyOfCode(code);
            const bool up = (code & 1) != 0;
            desktop.keyEvent({vk, static_cast<std::uint8_t>(desktop.mapVirtualKey(vk)), up, false});
            modifierHeld = !up;
        } else {
            std::uint8_t vk = VirtualKeyOfCode(code);
            unsigned shiftState = 0;
            if (code >= 32 && code < kKeyF1) {
                const auto scan = static_cast<std::uint16_t>(desktop.vkKeyScan(static_cast<char>(code)));
                vk = static_cast<std::uint8_t>(scan & 0xFF);
                shiftState = scan >> 8;
            }
            const auto scan = static_cast<std::uint8_t>(desktop.mapVirtualKey(vk));
            const bool extended = IsNavigationCode(code);
            // Any shift state, even one that asks for Ctrl or Alt, gives Shift only.
            const bool shifted = !modifierHeld && shiftState != 0;
            if (shifted) desktop.keyEvent({kVkShift, 42, false, false});
            desktop.keyEvent({vk, scan, false, extended});
            desktop.keyEvent({vk, scan, true, extended});
            if (shifted) desktop.keyEvent({kVkShift, 42, true, false});
        }
        desktop.processMessages();
    }
}

Wnd FindWindowByTitle(Desktop& desktop, const std::string& title) {
    // The title passes through a buffer of 256 bytes.
    return desktop.findWindow(title.substr(0, 255));
}

Wnd ForegroundWindow(Desktop& desktop) { return desktop.foregroundWindow(); }

void ActivateWindow(Desktop& desktop, Wnd w) {
    if (desktop.isIconic(w))
        desktop.restoreWindow(w);
    else
        desktop.setForeground(w);
    desktop.setFocus(w);
}

char BoolToDigit(bool flag) { return flag ? '1' : '0'; }

bool DigitToBool(std::string_view text) { return text == "1"; }

}  // namespace taskloom
