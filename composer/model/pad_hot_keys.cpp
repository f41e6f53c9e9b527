#include "composer/model/pad_hot_keys.h"

#include "pad/model/hot_key_check.h"

namespace taskloom {
namespace {

bool IsShowHideKey(std::string_view keyText, const LayoutKeyNameFn& layout) {
    return HotKeyId(ParseShortcut(keyText, nullptr, layout)) == kShowHideHotKeyId;
}

}  // namespace

std::string HotKeyFieldHint(std::string_view keyText, bool registered, const LayoutKeyNameFn& layout) {
    if (ParseShortcut(keyText, nullptr, layout).key == 0) return "";
    if (IsShowHideKey(keyText, layout)) return std::string(kShowHideKeyHint);
    return registered ? std::string() : std::string(kHotKeyInUseText);
}

AssignCheck CheckIconHotKey(const std::vector<PadEntry>& preview, const IconFields& fields, bool registered,
                            const LayoutKeyNameFn& layout) {
    AssignCheck check;
    if (ParseShortcut(fields.hotKey, nullptr, layout).key == 0) return check;
    const int owner = FindHotKeyOwner(preview, fields.hotKey, layout);
    if (owner >= 0) {
        check.verdict = AssignVerdict::Refuse;
        check.text =
            HotKeyClashText(fields.hotKey, owner + 1,
                            RecordFields(preview[static_cast<std::size_t>(owner)].record).description,
                            static_cast<int>(preview.size()) + 1, fields.description);
        return check;
    }
    if (IsShowHideKey(fields.hotKey, layout)) {
        check.verdict = AssignVerdict::Ask;
        check.text = fields.hotKey +
                     " is the pad's own hot key: pressed, it shows and hides the pad and does not start this "
                     "icon.\nAssign it all the same?";
    } else if (!registered) {
        check.verdict = AssignVerdict::Ask;
        check.text = std::string(kHotKeyInUseText) + ": " + fields.hotKey +
                     " does not start this icon while that program holds it.\nAssign it all the same?";
    }
    return check;
}

}  // namespace taskloom
