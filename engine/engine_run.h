// The engine's private parts that its source files share: one run's state
// and the open clips file.
#pragma once

#include <cstdio>
#include <map>
#include <string>

#include "engine/engine.h"

namespace taskloom {

struct Engine::Run {
    std::size_t index = 0;
    std::map<std::size_t, std::int32_t> loopCounters;  // one per ":LoopTimes" line
    bool alt = false, ctrl = false, shift = false;     // modifier flags of the line
    bool over = false;                                 // the run ends after this line
    RunEnd end = RunEnd::Completed;
    std::string lineText;
    Wnd foreground = 0;  // the foreground window when the run paused
};

// The clips file stays open between commands and between runs, for writing
// at its end or for reading from its current line.
struct Engine::ClipsFile {
    std::FILE* file = nullptr;
    bool writing = false;
    ~ClipsFile() {
        if (file) std::fclose(file);
    }
};

}  // namespace taskloom
