#include "pad/pad_registry.h"

#include <utility>

#include "pad/model/pad_settings.h"

namespace tessdeck {

const char* const kUserClassesKey = "Software\\Classes";

std::string PadKeyPath(const std::string& caption) {
    return std::string(taskloom::kWindowsKey) + "\\Uninstall\\" + caption;
}
std::string RunKeyPath() { return std::string(taskloom::kRunKey); }

namespace {

const char* const kRunValue = "Tessdeck";
const char* const kScriptExtension = ".tks";

wingui::ScopedKey Open(HKEY root, const std::string& path, REGSAM access) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, access, &k) != ERROR_SUCCESS) return nullptr;
    return wingui::ScopedKey(k);
}

// Creates or opens the key for writing; `existed` says which.
wingui::ScopedKey Create(HKEY root, const std::string& path, bool& existed) {
    HKEY k = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        nullptr, &k, &disposition) != ERROR_SUCCESS)
        return nullptr;
    existed = disposition == REG_OPENED_EXISTING_KEY;
    return wingui::ScopedKey(k);
}

bool WriteString(HKEY key, const char* name, const std::string& value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

std::string ReadValue(HKEY key, const char* name) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
    std::string value(size, '\0');
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
        ERROR_SUCCESS)
        return {};
    value.resize(size);
    // The stored text ends with its terminating zero (when it has one).
    while (!value.empty() && value.back() == '\0') value.pop_back();
    return value;
}

bool HasValue(HKEY root, const std::string& path, const char* name) {
    wingui::ScopedKey k = Open(root, path, KEY_READ);
    return k && RegQueryValueExA(k.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace

PadRegistry::PadRegistry(const RegistryRoots& roots, std::string caption)
    : roots_(roots), caption_(std::move(caption)) {}

std::string PadRegistry::ReadString(HKEY root, const std::string& path, const char* name) {
    wingui::ScopedKey k = Open(root, path, KEY_READ);
    return k ? ReadValue(k.get(), name) : std::string();
}

bool PadRegistry::padKeyExists() const {
    return Open(roots_.machine, PadKeyPath(caption_), KEY_READ) ||
           Open(roots_.user, PadKeyPath(caption_), KEY_READ);
}

PadKeyState PadRegistry::openPadKey(const std::string& uninstallString) {
    PadKeyState s;
    const std::string path = PadKeyPath(caption_);
    for (Hive hive : {Hive::Machine, Hive::User}) {
        bool existed = false;
        wingui::ScopedKey key = Create(rootOf(hive), path, existed);
        if (!key) continue;
        s.hive = hive;
        s.existed = existed;
        s.written = true;
        if (existed) {
            s.pad = ReadValue(key.get(), "Pad");
            s.settings = ReadValue(key.get(), "Settings");
        } else {
            // A machine's key that can be read but not written (made by an
            // installer, say) still holds the pad's values: the user's new
            // key starts from them, and they are kept there from now on.
            if (hive == Hive::User) {
                if (wingui::ScopedKey machine = Open(roots_.machine, path, KEY_READ)) {
                    s.existed = true;
                    s.pad = ReadValue(machine.get(), "Pad");
                    s.settings = ReadValue(machine.get(), "Settings");
                }
            }
            WriteString(key.get(), "DisplayName", caption_);
            WriteString(key.get(), "Pad", s.pad);
            if (!s.settings.empty()) WriteString(key.get(), "Settings", s.settings);
            WriteString(key.get(), "UninstallString", uninstallString);
        }
        s.autoStart = autoStart();
        return s;
    }
    // Neither hive can be written: what the machine's key holds, if anything,
    // still counts for this run.
    s.hive = Hive::Machine;
    s.pad = ReadString(roots_.machine, path, "Pad");
    s.settings = ReadString(roots_.machine, path, "Settings");
    s.existed = padKeyExists();
    s.autoStart = autoStart();
    return s;
}

bool PadRegistry::registerScriptFiles(const std::string& command) {
    if (Open(roots_.classes, kScriptExtension, KEY_READ)) return false;
    const std::string userPath = std::string(kUserClassesKey) + "\\" + kScriptExtension;
    if (Open(roots_.user, userPath, KEY_READ)) return false;
    const std::string below = std::string("\\shell\\open\\command");
    bool existed = false;
    wingui::ScopedKey k = Create(roots_.classes, kScriptExtension + below, existed);
    if (!k) k = Create(roots_.user, userPath + below, existed);
    return k && WriteString(k.get(), nullptr, command);
}

bool PadRegistry::saveSettings(Hive hive, const std::string& pad, const std::string& settings) {
    wingui::ScopedKey k = Open(rootOf(hive), PadKeyPath(caption_), KEY_SET_VALUE);
    if (!k) return false;
    const bool padWritten = WriteString(k.get(), "Pad", pad);
    return WriteString(k.get(), "Settings", settings) && padWritten;
}

bool PadRegistry::autoStart() const {
    return HasValue(roots_.machine, RunKeyPath(), kRunValue) ||
           HasValue(roots_.user, RunKeyPath(), kRunValue);
}

bool PadRegistry::setAutoStart(bool on, const std::string& command) {
    if (on) {
        if (wingui::ScopedKey run = Open(roots_.machine, RunKeyPath(), KEY_SET_VALUE))
            if (WriteString(run.get(), kRunValue, command)) return true;
        bool existed = false;
        wingui::ScopedKey run = Create(roots_.user, RunKeyPath(), existed);
        return run && WriteString(run.get(), kRunValue, command);
    }
    bool gone = true;
    for (HKEY root : {roots_.machine, roots_.user}) {
        if (!HasValue(root, RunKeyPath(), kRunValue)) continue;
        wingui::ScopedKey run = Open(root, RunKeyPath(), KEY_SET_VALUE);
        gone = run && RegDeleteValueA(run.get(), kRunValue) == ERROR_SUCCESS && gone;
    }
    return gone;
}

void PadRegistry::uninstall() {
    const std::string path = PadKeyPath(caption_);
    for (HKEY root : {roots_.machine, roots_.user}) {
        RegDeleteTreeA(root, path.c_str());
        RegDeleteKeyA(root, path.c_str());
        if (wingui::ScopedKey run = Open(root, RunKeyPath(), KEY_SET_VALUE))
            RegDeleteValueA(run.get(), kRunValue);
    }
    RegDeleteTreeA(roots_.classes, kScriptExtension);
    RegDeleteKeyA(roots_.classes, kScriptExtension);
    const std::string userPath = std::string(kUserClassesKey) + "\\" + kScriptExtension;
    RegDeleteTreeA(roots_.user, userPath.c_str());
    RegDeleteKeyA(roots_.user, userPath.c_str());
}

}  // namespace tessdeck
