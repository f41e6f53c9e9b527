// A simulated desktop with one focused, empty editor window and an engine
// that runs scripts in it: the common ground of the interpreter's and the
// commands' tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/engine.h"
#include "tests/sim/memory_host.h"
#include "tests/sim/sim_desktop.h"

namespace taskloom::sim {

struct ScriptRun {
    SimDesktop d;
    MemoryHost host;
    Engine engine{d, host};
    Wnd editor = d.addWindow("");

    explicit ScriptRun(Flavor f = Flavor::Pad) : host(f) { d.setForegroundDirect(editor); }

    RunEnd run(std::vector<std::string> lines) {
        host.lines = std::move(lines);
        return engine.RunScript();
    }
    // What the editor holds: the keys typed into it.
    std::string typed() { return d.text(editor); }
    // Puts these lines into the editor; captures read the caret's line.
    void show(const std::string& text) { d.setText(editor, text); }
};

}  // namespace taskloom::sim
