// The committed icon set: what both programs build in and what a pad file's
// image index points at.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "pad/model/pad_text.h"

namespace {

const std::string kDir = std::string(TASKLOOM_SOURCE_DIR) + "/resources/icons/";

std::string Slurp(const std::string& name) {
    std::ifstream in(kDir + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

unsigned U16(const std::string& s, std::size_t at) {
    return static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8;
}

std::uint32_t U32(const std::string& s, std::size_t at) {
    return U16(s, at) | std::uint32_t{U16(s, at + 2)} << 16;
}

// The sizes an .ico file holds; checks that each image lies inside the file.
std::vector<unsigned> IcoSizes(const std::string& ico, unsigned kind = 1) {
    std::vector<unsigned> sizes;
    if (ico.size() < 6 || U16(ico, 0) != 0 || U16(ico, 2) != kind) return sizes;
    for (unsigned i = 0; i < U16(ico, 4); ++i) {
        const std::size_t e = 6 + 16 * i;
        const std::uint32_t bytes = U32(ico, e + 8), offset = U32(ico, e + 12);
        if (e + 16 > ico.size() || offset + std::uint64_t{bytes} > ico.size()) return {};
        sizes.push_back(static_cast<unsigned char>(ico[e]));
    }
    return sizes;
}

}  // namespace

TEST(IconSet, FortyTwoDistinctIconsListedInTheirFixedOrder) {
    std::istringstream rc(Slurp("icons.rc"));
    std::vector<std::string> files;
    for (std::string line; std::getline(rc, line);) {
        const std::size_t q = line.find(" ICON \"icon");
        if (q != std::string::npos) files.push_back(line.substr(q + 7, line.size() - q - 8));
    }
    ASSERT_EQ(files.size(), static_cast<std::size_t>(taskloom::kIconCount));
    std::set<std::string> pictures;
    for (int i = 0; i < taskloom::kIconCount; ++i) {
        char prefix[8];
        std::snprintf(prefix, sizeof prefix, "icon%02d_", i);
        EXPECT_EQ(files[i].rfind(prefix, 0), 0u) << files[i];
        const std::string ico = Slurp(files[i]);
        EXPECT_EQ(IcoSizes(ico), (std::vector<unsigned>{16, 32})) << files[i];
        pictures.insert(ico);
    }
    EXPECT_EQ(pictures.size(), static_cast<std::size_t>(taskloom::kIconCount));
    const std::string header = Slurp("icons.h");
    EXPECT_NE(header.find("#define IDI_PAD_ICON_COUNT 42"), std::string::npos);
}

TEST(IconSet, ProgramIconsCursorAndTreePictures) {
    EXPECT_EQ(IcoSizes(Slurp("tessdeck.ico")), (std::vector<unsigned>{16, 32, 48}));
    EXPECT_EQ(IcoSizes(Slurp("loomwright.ico")), (std::vector<unsigned>{16, 32, 48}));
    EXPECT_NE(Slurp("tessdeck.ico"), Slurp("loomwright.ico"));
    EXPECT_EQ(IcoSizes(Slurp("tessdeck.cur"), 2), (std::vector<unsigned>{32}));
    EXPECT_EQ(IcoSizes(Slurp("tree_group.ico")), (std::vector<unsigned>{16, 32}));
    EXPECT_EQ(IcoSizes(Slurp("tree_loop.ico")), (std::vector<unsigned>{16, 32}));
    const std::string strip = Slurp("iconset16.bmp");
    ASSERT_GT(strip.size(), 26u);
    EXPECT_EQ(strip.substr(0, 2), "BM");
    EXPECT_EQ(U32(strip, 18), 16u * taskloom::kIconCount);  // one row of 42 pictures
}
