// A system library that the program loads when one of its functions is first
// needed instead of at start: every imported library is loaded (with its own
// imports) before the first line of the program runs, and the file dialogs,
// printing, the timer resolution, the shell and the session notices are
// needed late or never.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace taskloom {

class SystemLibrary {
public:
    // Nothing is loaded until the first function is asked for.
    explicit SystemLibrary(const char* fileName) : fileName_(fileName) {}
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The function `name` of the library, typed as `Fn` (the declaration's
    // own type: `decltype(ShellExecuteA)`). Throws std::runtime_error saying
    // which library or function is missing, and why.
    template <class Fn>
    Fn* function(const char* name) {
        return typed<Fn>(address(name, true));
    }
    // The same, or null when the library or the function is not there: for
    // callers to whom the function is optional.
    template <class Fn>
    Fn* find(const char* name) noexcept {
        return typed<Fn>(address(name, false));
    }

    bool loaded() const;
    const char* fileName() const { return fileName_; }

private:
    struct ModuleDeleter {
        void operator()(HMODULE m) const noexcept { FreeLibrary(m); }
    };
    // Loads the library on the first call. Not required: null for a library
    // or function that is not there, and nothing is thrown.
    FARPROC address(const char* name, bool required);
    template <class Fn>
    static Fn* typed(FARPROC f) noexcept {
        return reinterpret_cast<Fn*>(reinterpret_cast<void (*)()>(f));
    }

    const char* fileName_;
    SRWLOCK lock_ = SRWLOCK_INIT;
    std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter> module_;
    DWORD loadError_ = 0;  // the reason of the first failed load, kept
};

// The libraries the programs load on first use, one of each per process.
SystemLibrary& Shell32Library();
SystemLibrary& CommonDialogsLibrary();
SystemLibrary& MultimediaLibrary();
SystemLibrary& SessionsLibrary();

}  // namespace taskloom
