// The printed layout: any lines on any page size lay out without fault, and
// joining the printed pieces of each line gives the script back.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "composer/model/print_layout.h"
#include "fuzz/fuzz_support.h"

using namespace taskloom;

namespace {

// Characters of varying widths, so breaks fall in many places.
class Device : public PrintDevice {
public:
    Device(int w, int h, int l) : w_(w), h_(h), l_(l) {}
    int textWidth(std::string_view t) const override {
        int n = 0;
        for (char c : t) n += 1 + (static_cast<unsigned char>(c) % 7);
        return n;
    }
    int pageWidth() const override { return w_; }
    int pageHeight() const override { return h_; }
    int lineHeight() const override { return l_; }

private:
    int w_, h_, l_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const Device device(in.ConsumeIntegralInRange<int>(-10, 400), in.ConsumeIntegralInRange<int>(-10, 400),
                        in.ConsumeIntegralInRange<int>(-5, 40));
    const PrintOptions options{in.ConsumeIntegralInRange<int>(0, 50)};
    const std::string name = in.ConsumeRandomLengthString(40);
    std::vector<std::string> lines;
    while (in.remaining_bytes() > 0) lines.push_back(in.ConsumeRandomLengthString(300));

    fuzz::NotThrowing([&] {
        const std::vector<PrintedPage> pages = LayOutScript(lines, name, device, options);
        FUZZ_CHECK(!pages.empty());
        // Body runs: every run after the heading's one or two.
        std::vector<std::string> back;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            FUZZ_CHECK(pages[p].number == static_cast<int>(p + 1));
            const auto& runs = pages[p].runs;
            const std::size_t heading = runs.size() >= 2 && runs[1].y == runs[0].y ? 2 : 1;
            FUZZ_CHECK(runs.size() >= heading);
            for (std::size_t i = heading; i < runs.size(); ++i) {
                FUZZ_CHECK(runs[i].y > runs[0].y);
                if (runs[i].continues && !back.empty())
                    back.back() += runs[i].text;
                else
                    back.push_back(runs[i].text);
            }
        }
        FUZZ_CHECK(back == lines);
    });
    return 0;
}
