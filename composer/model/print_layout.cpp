#include "composer/model/print_layout.h"

#include <algorithm>

namespace taskloom {
namespace {

struct Piece {
    std::string text;
    bool continuation = false;
};

// The most leading characters of `text` (at least one) whose width stays
// within `limit`. Widths grow with the text: the prefix is doubled until it
// no longer fits, then halved in between, so a long line costs measurements
// of about one printed line each, not of the whole rest of the line.
std::size_t FitCount(const PrintDevice& device, std::string_view text, int limit) {
    std::size_t good = 0, bad = 0;
    for (std::size_t k = 1;; k *= 2) {
        const std::size_t probe = std::min(k, text.size());
        if (device.textWidth(text.substr(0, probe)) > limit) {
            bad = probe;
            break;
        }
        good = probe;
        if (probe == text.size()) return probe;
    }
    while (bad - good > 1) {
        const std::size_t mid = good + (bad - good) / 2;
        if (device.textWidth(text.substr(0, mid)) <= limit)
            good = mid;
        else
            bad = mid;
    }
    return std::max<std::size_t>(good, 1);
}

// Cuts a line into the pieces that fit: after the last blank that fits and
// follows some text, or after as many characters as fit.
void BreakLine(const PrintDevice& device, std::string_view line, int width, int indent,
               std::vector<Piece>& out) {
    bool continuation = false;
    do {
        const int limit = continuation ? width - indent : width;
        std::size_t take = line.empty() ? 0 : FitCount(device, line, limit);
        if (take < line.size()) {
            const std::size_t blank = line.substr(0, take).rfind(' ');
            const std::size_t text = line.find_first_not_of(' ');
            if (blank != std::string_view::npos && text < blank) take = blank + 1;
        }
        out.push_back({std::string(line.substr(0, take)), continuation});
        line.remove_prefix(take);
        continuation = true;
    } while (!line.empty());
}

}  // namespace

std::vector<PrintedPage> LayOutScript(const std::vector<std::string>& lines, std::string_view scriptName,
                                      const PrintDevice& device, const PrintOptions& options) {
    const int left = options.margin, top = options.margin;
    const int right = device.pageWidth() - options.margin, bottom = device.pageHeight() - options.margin;
    const int width = std::max(1, right - left);
    const int lineHeight = std::max(1, device.lineHeight());
    const int indentWidth = device.textWidth("    ");
    const int indent = indentWidth < width / 2 ? indentWidth : 0;

    std::vector<Piece> pieces;
    for (const std::string& line : lines) BreakLine(device, line, width, indent, pieces);

    const int bodyTop = top + 2 * lineHeight;
    const std::size_t perPage = static_cast<std::size_t>(std::max(1, (bottom - bodyTop) / lineHeight));
    const std::size_t pageCount = std::max<std::size_t>(1, (pieces.size() + perPage - 1) / perPage);

    std::vector<PrintedPage> pages;
    for (std::size_t p = 0; p < pageCount; ++p) {
        PrintedPage page;
        page.number = static_cast<int>(p + 1);

        const std::string label = "Page " + std::to_string(p + 1) + " of " + std::to_string(pageCount);
        const int labelWidth = device.textWidth(label);
        const int nameRoom = width - labelWidth - device.textWidth("  ");
        if (!scriptName.empty() && nameRoom > 0) {
            const std::size_t fit = FitCount(device, scriptName, nameRoom);
            if (device.textWidth(scriptName.substr(0, fit)) <= nameRoom)
                page.runs.push_back({left, top, std::string(scriptName.substr(0, fit))});
        }
        page.runs.push_back({std::max(left, right - labelWidth), top, label});

        const std::size_t first = p * perPage, last = std::min(pieces.size(), first + perPage);
        int y = bodyTop;
        for (std::size_t i = first; i < last; ++i, y += lineHeight)
            page.runs.push_back({left + (pieces[i].continuation ? indent : 0), y, std::move(pieces[i].text),
                                 pieces[i].continuation});
        pages.push_back(std::move(page));
    }
    return pages;
}

}  // namespace taskloom
