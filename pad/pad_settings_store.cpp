#include "pad/pad_settings_store.h"

#include <windows.h>

#include "engine/errors.h"
#include "pad/model/settings_file.h"
#include "wingui/handles.h"

namespace tessdeck {

namespace {

std::string SystemReason(DWORD error) {
    char text[512] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                   0, text, sizeof text, nullptr);
    std::string reason(text, n);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
        reason.pop_back();
    return reason.empty() ? "error " + std::to_string(error) : reason;
}

}  // namespace

std::string PortableSettingsPath(const std::string& programDir) {
    return programDir + std::string(taskloom::kSettingsFileName);
}

bool IsPortable(const std::string& programDir) {
    if (programDir.empty()) return false;
    const DWORD attributes = GetFileAttributesA(PortableSettingsPath(programDir).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void WriteFileSafely(const std::string& name, std::string_view text) {
    // A name of this process's own beside the file: two pads started from
    // the same folder never write into each other's new file.
    const std::string fresh = name + "." + std::to_string(GetCurrentProcessId()) + ".new";
    // The new file written and flushed, and closed again: 0, or what failed.
    const DWORD error = [&]() -> DWORD {
        wingui::ScopedHandle file(CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) return GetLastError();
        DWORD written = 0;
        if (!WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
            return GetLastError();
        if (written != text.size()) return ERROR_DISK_FULL;
        if (!FlushFileBuffers(file.get())) return GetLastError();
        return 0;
    }();
    if (error == 0 &&
        MoveFileExA(fresh.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return;
    const DWORD why = error ? error : GetLastError();
    DeleteFileA(fresh.c_str());
    throw taskloom::FileError(name, SystemReason(why), "cannot write");
}

}  // namespace tessdeck
