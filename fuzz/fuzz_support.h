// Checks shared by the fuzz targets: a failed property or an unexpected
// exception aborts, which libFuzzer reports as a crash with its input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string_view>

#include "engine/errors.h"

#define FUZZ_CHECK(cond)                                                                      \
    do {                                                                                      \
        if (!(cond)) {                                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)

namespace taskloom::fuzz {

inline std::string_view AsText(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

[[noreturn]] inline void Unexpected(const char* what) {
    std::fprintf(stderr, "unexpected exception: %s\n", what);
    std::abort();
}

// Runs `f`; a ScriptError (bad input, reported to the user) is allowed and
// must say something; any other exception is a fault. Returns whether `f`
// ran to its end.
template <class F>
bool AllowingScriptError(F&& f) {
    try {
        f();
        return true;
    } catch (const ScriptError& e) {
        FUZZ_CHECK(e.what()[0] != '\0');
        return false;
    } catch (const std::exception& e) {
        Unexpected(e.what());
    } catch (...) {
        Unexpected("not a std::exception");
    }
}

// Runs `f`, which must not throw at all.
template <class F>
void NotThrowing(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        Unexpected(e.what());
    } catch (...) {
        Unexpected("not a std::exception");
    }
}

}  // namespace taskloom::fuzz
