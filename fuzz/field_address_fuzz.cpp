// Field addresses "L C N" of the control, file and console captures: any
// text reads without fault; numbers written into an address read back; and
// a file capture with the address runs on the simulated desktop without
// fault, taking no more than the addressed source line holds.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "engine/engine.h"
#include "fuzz/fuzz_support.h"
#include "tests/sim/memory_host.h"
#include "tests/sim/sim_desktop.h"

using namespace taskloom;

namespace {

void CheckWrittenAddress(FuzzedDataProvider& in) {
    const std::int32_t line = in.ConsumeIntegral<std::int32_t>();
    const std::int32_t column = in.ConsumeIntegral<std::int32_t>();
    const std::int32_t length = in.ConsumeIntegral<std::int32_t>();
    const std::string l = std::to_string(line), c = std::to_string(column), n = std::to_string(length);
    FieldAddress a = ReadFieldAddress(":ClipsAddFile " + l + " " + c + " " + n);
    FUZZ_CHECK(a.line == line && a.column == column && a.length == length);
    a = ReadFieldAddress(":ClipsAddControls " + l + " " + n);  // two numbers: line and length
    FUZZ_CHECK(a.line == line && a.column == 0 && a.length == length);
    a = ReadFieldAddress(":ClipsAddDOS " + l);  // one number: no line at all
    FUZZ_CHECK(a.line == 0 && a.column == 0 && a.length == 0);
    a = ReadFieldAddress(":ClipsAddFile x" + l + " " + c + " " + n + "y");  // non-numbers read as 0
    FUZZ_CHECK(a.line == 0 && a.column == column && a.length == 0);
}

void RunFileCapture(const std::string& address) {
    sim::SimDesktop d;
    const Wnd editor = d.addWindow("Editor");
    d.setForegroundDirect(editor);
    sim::MemoryHost host(Flavor::Composer, {"{:ClipsAddFile " + address + "}"});
    Engine engine(d, host);
    engine.sourceLines() = {"alpha beta", "", "x"};
    try {
        engine.RunScript();
    } catch (const RunError& e) {
        fuzz::Unexpected(e.what());
    }
    std::size_t held = 0;
    for (const std::string& l : engine.clips().lines()) held += l.size();
    FUZZ_CHECK(held <= 10);
    FUZZ_CHECK(!d.isKeyDown(kVkShift) && !d.isKeyDown(kVkControl) && !d.isKeyDown(kVkMenu));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string text(fuzz::AsText(data, size));
    fuzz::NotThrowing([&] {
        ReadFieldAddress(text);
        FuzzedDataProvider in(data, size);
        CheckWrittenAddress(in);
        // The address as a script line carries it: up to its closing brace.
        RunFileCapture(text.substr(0, text.find('}')));
    });
    return 0;
}
