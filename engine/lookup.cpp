#include "engine/lookup.h"

#include <charconv>

#include "engine/text.h"

namespace taskloom {

std::string WindowText(Desktop& d, Wnd w) { return d.windowText(w).substr(0, kWindowTextMax); }

bool EnumTitlesProc(Desktop& d, Wnd w, std::string& accumulator) {
    const bool includeHidden = !accumulator.empty() && accumulator[0] == kEsc;
    if (!includeHidden && !d.isVisible(w)) return true;
    // Top-level titles are read without a message to their window; a
    // control list (the hidden ones included) asks each control.
    const std::string text = includeHidden ? WindowText(d, w) : d.titleText(w).substr(0, kWindowTextMax);
    if (text.empty()) return true;
    if (!accumulator.empty() && accumulator[0] == ':') {
        const std::string_view prefix = std::string_view(accumulator).substr(1);
        if (!prefix.empty() && StartsWith(text, prefix)) {
            accumulator = text;
            return false;
        }
        return true;
    }
    if (Contains(text, "\r\nControls")) return true;
    // Drop exact repeats only: a text that is merely the tail of an earlier
    // entry ("Notepad" after "Untitled - Notepad") is a window of its own.
    const std::string entry = text + kEsc;
    for (size_t pos = includeHidden ? 1 : 0; pos < accumulator.size();) {
        size_t end = accumulator.find(kEsc, pos);
        if (end == std::string::npos) break;
        if (accumulator.compare(pos, end + 1 - pos, entry) == 0) return true;
        pos = end + 1;
    }
    accumulator += entry;
    return true;
}

bool FindControlProc(Desktop& d, Wnd w, std::string& accumulator) {
    if (!d.isWindow(w)) return true;
    const std::string text = WindowText(d, w);
    if (!text.empty() && text == accumulator) {
        accumulator = std::to_string(w);
        return false;
    }
    return true;
}

std::string TitlePrefixSearch(Desktop& d, const std::string& prefix) {
    std::string acc = ":" + prefix;
    for (Wnd w : d.topLevelWindows())
        if (!EnumTitlesProc(d, w, acc)) break;
    return acc;
}

namespace {

std::vector<std::string> SplitEntries(std::string_view acc) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t i = 0; i < acc.size(); ++i) {
        if (acc[i] == kEsc) {
            out.emplace_back(acc.substr(start, i - start));
            start = i + 1;
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> GetTitles(Desktop& d) {
    std::string acc;
    for (Wnd w : d.topLevelWindows()) EnumTitlesProc(d, w, acc);
    return SplitEntries(acc);
}

std::vector<std::string> GetControls(Desktop& d, Wnd w) {
    std::string acc(1, kEsc);
    d.processMessages();
    for (Wnd child : d.childWindows(w)) EnumTitlesProc(d, child, acc);
    return SplitEntries(std::string_view(acc).substr(1));
}

Wnd FindControl(Desktop& d, Wnd parent, const std::string& text) {
    std::string acc = text;
    for (Wnd child : d.childWindows(parent)) {
        if (!FindControlProc(d, child, acc)) {
            Wnd found = 0;
            auto [ptr, ec] = std::from_chars(acc.data(), acc.data() + acc.size(), found);
            return ec == std::errc() && ptr == acc.data() + acc.size() ? found : 0;
        }
    }
    // Not found. A wanted text that happens to be a number is not a handle.
    return 0;
}

bool MenuPathEnabled(Desktop& d, Wnd w, const std::string& path) {
    if (path.empty()) return false;
    MenuHandle menu = d.getMenu(w);
    if (!menu) return false;
    std::string_view rest = path;
    while (true) {
        const size_t esc = rest.find(kEsc);
        const std::string_view component = rest.substr(0, esc);
        const int count = d.menuItemCount(menu);
        int match = -1;
        for (int pos = 0; pos < count; ++pos) {
            if (d.menuString(menu, pos).substr(0, kMenuTextMax) == component) {
                match = pos;
                break;
            }
        }
        if (match < 0) return false;
        const std::optional<unsigned> state = d.menuItemState(menu, match);
        if (state && *state != 0) return false;
        if (MenuHandle sub = d.subMenu(menu, match)) menu = sub;
        if (esc == std::string_view::npos) return true;
        rest.remove_prefix(esc + 1);
    }
}

}  // namespace taskloom
