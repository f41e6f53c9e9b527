#include <gtest/gtest.h>

#include "pad/model/shortcut_text.h"

using namespace taskloom;

TEST(ShortcutText, EveryNamedKeyFormatsAndParsesBack) {
    const std::pair<int, const char*> named[] = {
        {8, "BkSp"},  {9, "Tab"},  {13, "Enter"}, {27, "Esc"},  {32, "Space"}, {33, "PgUp"},
        {34, "PgDn"}, {35, "End"}, {36, "Home"},  {37, "Left"}, {38, "Up"},    {39, "Right"},
        {40, "Down"}, {45, "Ins"}, {46, "Del"},   {48, "0"},    {57, "9"},     {65, "A"},
        {90, "Z"},    {112, "F1"}, {123, "F12"},  {124, "F13"}, {135, "F24"}};
    for (auto [key, name] : named) {
        EXPECT_EQ(ShortcutKeyName(key), name);
        EXPECT_EQ(FormatShortcut({key, kModAlt}), std::string("Alt+") + name);
        EXPECT_EQ(ParseShortcut(std::string("Shift+") + name), (Shortcut{key, kModShift})) << name;
    }
    for (int f = 1; f <= 24; ++f) EXPECT_EQ(ParseShortcut("ctrl+f" + std::to_string(f)).key, 111 + f);
    // Keypad digits show as digits; the text reads back as the first key of
    // that name, the main row's digit.
    EXPECT_EQ(FormatShortcut({101, kModCtrl}), "Ctrl+5");
    EXPECT_EQ(ParseShortcut("Ctrl+5").key, '5');
    // Keys without a fixed name take the layout's name, or format as nothing.
    EXPECT_EQ(FormatShortcut({186, kModCtrl | kModShift}), "");
    const LayoutKeyNameFn layout = [](int key) { return key == 186 ? std::string(";") : std::string(); };
    EXPECT_EQ(FormatShortcut({186, kModCtrl}, layout), "Ctrl+;");
    EXPECT_EQ(ParseShortcut("Ctrl+;", nullptr, layout), (Shortcut{186, kModCtrl}));
    const LayoutKeyNameFn german = [](int key) { return key == 220 ? std::string("^") : std::string(); };
    EXPECT_EQ(ParseShortcut(FormatShortcut({220, kModCtrl}, german), nullptr, german),
              (Shortcut{220, kModCtrl}));
    EXPECT_EQ(ParseShortcut("^^", nullptr, german), (Shortcut{220, kModCtrl}));
}

TEST(ShortcutText, ModifiersInAnyOrderNormaliseToShiftCtrlAlt) {
    const Shortcut all{'P', kModShift | kModCtrl | kModAlt};
    for (const char* text : {"Ctrl+Shift+Alt+P", "alt+ctrl+shift+p", "^Alt+Shift+P", "Shift+^Alt+p"})
        EXPECT_EQ(ParseShortcut(text), all) << text;
    EXPECT_EQ(FormatShortcut(all), "Shift+Ctrl+Alt+P");
    EXPECT_EQ(NormaliseShortcut("Ctrl+Shift+P"), "Shift+Ctrl+P");
    EXPECT_EQ(NormaliseShortcut("^x"), "Ctrl+X");
    EXPECT_EQ(NormaliseShortcut("Alt+Ctrl+F5"), "Ctrl+Alt+F5");
}

TEST(ShortcutText, UnknownOrMissingNamesGiveNoKeyAndSayWhy) {
    std::string error;
    EXPECT_EQ(ParseShortcut("Ctrl+Banana", &error), Shortcut{});
    EXPECT_NE(error.find("unknown key name \"Banana\""), std::string::npos) << error;
    EXPECT_EQ(ParseShortcut("Ctrl+Shift+", &error), Shortcut{});
    EXPECT_NE(error.find("names no key"), std::string::npos) << error;
    EXPECT_EQ(ParseShortcut("", &error).key, 0);
    EXPECT_EQ(ParseShortcut("Ctrl+F25").key, 0);
    EXPECT_EQ(ParseShortcut("Ctrl + A").key, 0);
    EXPECT_EQ(NormaliseShortcut("Ctrl+Nothing"), "");
}

TEST(ShortcutText, HotKeyIdentifiers) {
    EXPECT_EQ(HotKeyId(ParseShortcut(kShowHideKeyText)), kShowHideHotKeyId);
    EXPECT_EQ(kShowHideHotKeyId, 6120);
    EXPECT_EQ(HotKeyId(ParseShortcut("Ctrl+Shift+P")), 6080);
    EXPECT_EQ(HotKeyId(ParseShortcut("Alt+F5")), 1116);
    EXPECT_EQ(HotKeyId(ParseShortcut("Shift+Ctrl+Alt+Z")), 7090);
    EXPECT_EQ(HotKeyId(Shortcut{}), 0);
    for (int id : {6120, 6080, 1116, 2065, 4013, 7135}) EXPECT_EQ(HotKeyId(ShortcutFromId(id)), id);
    EXPECT_EQ(FormatShortcut(ShortcutFromId(6120)), "Shift+Ctrl+F9");
    for (int id : {0, -6120, 6000, 8065, 6999}) EXPECT_EQ(ShortcutFromId(id).key, 0) << id;
}

TEST(ShortcutText, HotKeyLaunchesTheIconWithExactlyThatKey) {
    const std::vector<std::string> hints = {"Mail\tCtrl+Alt+X", "Editor\tCtrl+A", "Plain", "Calc\tCtrl+Alt"};
    EXPECT_EQ(FindHotKeyIcon(hints, "Ctrl+A"), 1);
    EXPECT_EQ(FindHotKeyIcon(hints, "Ctrl+Alt+X"), 0);
    EXPECT_EQ(FindHotKeyIcon(hints, "Ctrl+Alt"), 3);
    EXPECT_EQ(FindHotKeyIcon(hints, "Ctrl+B"), -1);
    EXPECT_EQ(FindHotKeyIcon(hints, ""), -1);
    EXPECT_EQ(FindHotKeyIcon(hints, "Plain"), -1);  // a description is no key
    // As the pad takes a pressed key: its identifier formatted again.
    EXPECT_EQ(FindHotKeyIcon(hints, FormatShortcut(ShortcutFromId(2065))), 1);  // Ctrl+A
    EXPECT_EQ(FindHotKeyIcon(hints, FormatShortcut(ShortcutFromId(3088))), 0);  // Ctrl+Alt+X
}

TEST(ShortcutText, ComposerHotKeyField) {
    EXPECT_EQ(ComposerHotKeyText('P', 'P', kModShift | kModCtrl, "old"), "Ctrl+Shift+P");
    EXPECT_EQ(ComposerHotKeyText('7', '7', kModAlt, ""), "Alt+7");
    EXPECT_EQ(ComposerHotKeyText(191, '/', kModCtrl | kModAlt, ""), "Ctrl+Alt+/");
    EXPECT_EQ(ComposerHotKeyText(116, 0, kModCtrl | kModAlt, ""), "Ctrl+Alt+F5");
    EXPECT_EQ(ComposerHotKeyText(124, 0, kModCtrl, "keep"), "keep");     // F13: not taken
    EXPECT_EQ(ComposerHotKeyText(116, 0, 0, "keep"), "keep");            // no modifier
    EXPECT_EQ(ComposerHotKeyText('A', 'A', 0, "Ctrl+B"), "");            // a plain letter clears
    EXPECT_EQ(ComposerHotKeyText(186, ';', kModCtrl, "Ctrl+B"), "");     // other characters clear
    EXPECT_EQ(ComposerHotKeyText(17, 0, kModCtrl, "Ctrl+B"), "Ctrl+B");  // the Ctrl key itself
}

// What the composer writes for a "/" is what the pad parses back to the
// same key with the same layout names.
TEST(ShortcutText, ComposerSlashIsTheLayoutsKey) {
    const LayoutKeyNameFn us = [](int vk) { return vk == 191 ? std::string("/") : std::string(); };
    EXPECT_EQ(ComposerHotKeyText(191, '/', kModCtrl | kModAlt, "", us), "Ctrl+Alt+/");
    EXPECT_EQ(ParseShortcut("Ctrl+Alt+/", nullptr, us).key, 191);
    // The keypad's / types "/" too, but the layout names it otherwise.
    const LayoutKeyNameFn keypad = [](int vk) {
        return vk == 191 ? std::string("/") : vk == 111 ? std::string("Num /") : std::string();
    };
    const std::string text = ComposerHotKeyText(111, '/', kModCtrl, "", keypad);
    EXPECT_EQ(text, "Ctrl+Num /");
    EXPECT_EQ(ParseShortcut(text, nullptr, keypad).key, 111);
    // A key the layout does not name at all is not taken.
    EXPECT_EQ(ComposerHotKeyText(226, '/', kModCtrl, "Ctrl+B", keypad), "Ctrl+B");
}
