#include "win32/system_library.h"

#include <stdexcept>

namespace taskloom {
namespace {

class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK& l) : l_(l) { AcquireSRWLockExclusive(&l_); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&l_); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    SRWLOCK& l_;
};

}  // namespace

bool SystemLibrary::loaded() const { return module_ != nullptr; }

FARPROC SystemLibrary::address(const char* name, bool required) {
    ExclusiveLock hold(lock_);
    if (!module_ && loadError_ == 0) {
        // Only from the system folder: a file of the same name beside the
        // program or in the current folder is never taken instead.
        module_.reset(LoadLibraryExA(fileName_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
        if (!module_) loadError_ = GetLastError() ? GetLastError() : ERROR_MOD_NOT_FOUND;
    }
    if (!module_) {
        if (!required) return nullptr;
        throw std::runtime_error(std::string("the system library ") + fileName_ +
                                 " could not be loaded (error " + std::to_string(loadError_) + ")");
    }
    const FARPROC found = GetProcAddress(module_.get(), name);
    if (!found && required)
        throw std::runtime_error(std::string("the system library ") + fileName_ + " has no function " + name);
    return found;
}

SystemLibrary& Shell32Library() {
    static SystemLibrary library("shell32.dll");
    return library;
}

SystemLibrary& CommonDialogsLibrary() {
    static SystemLibrary library("comdlg32.dll");
    return library;
}

SystemLibrary& MultimediaLibrary() {
    static SystemLibrary library("winmm.dll");
    return library;
}

SystemLibrary& SessionsLibrary() {
    static SystemLibrary library("wtsapi32.dll");
    return library;
}

}  // namespace taskloom
