// Shortcut text: any typed or stored hot key text parses without fault; a
// text that names a key formats to a text that parses to the same key, is
// already normalised, and gives an identifier that maps back to it; a text
// naming no key says why. The composer's hot key field never builds a text
// the pad cannot read.
#include <string>

#include "pad/model/shortcut_text.h"
#include "fuzz/fuzz_support.h"

using namespace taskloom;

namespace {

// A United States layout's names for its punctuation keys, as the Win32
// layer gives them, with the German "^" in place of the backslash.
std::string UsLayoutName(int key) {
    static const std::string_view oem1 = ";=,-./`", oem2 = "[^]'";
    if (key >= 186 && key <= 192) return std::string(1, oem1[key - 186]);
    if (key >= 219 && key <= 222) return std::string(1, oem2[key - 219]);
    return "";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    fuzz::NotThrowing([&] {
        std::string error;
        const Shortcut s = ParseShortcut(text, &error, UsLayoutName);
        FUZZ_CHECK(s.mods <= 7u);
        if (s.key == 0) {
            FUZZ_CHECK(!error.empty());
            FUZZ_CHECK(NormaliseShortcut(text, UsLayoutName).empty());
        } else {
            const std::string formatted = FormatShortcut(s, UsLayoutName);
            FUZZ_CHECK(!formatted.empty());
            FUZZ_CHECK(ParseShortcut(formatted, nullptr, UsLayoutName) == s);
            FUZZ_CHECK(NormaliseShortcut(formatted, UsLayoutName) == formatted);
            FUZZ_CHECK(ShortcutFromId(HotKeyId(s)) == s);
            FUZZ_CHECK(HotKeyId(s) > 0 && HotKeyId(s) < 8000);
        }
        // The hint search finds only an icon whose key is exactly the text.
        const std::vector<std::string> hints = {"a\t" + std::string(text), "b"};
        if (!text.empty() && text.find('\t') == std::string_view::npos)
            FUZZ_CHECK(FindHotKeyIcon(hints, text) == 0);
        if (size >= 3) {
            const std::string key =
                ComposerHotKeyText(data[0], static_cast<char>(data[1]), data[2] & 7u, "x");
            if (key != "x" && !key.empty()) FUZZ_CHECK(ParseShortcut(key, nullptr, UsLayoutName).key != 0);
        }
    });
    return 0;
}
