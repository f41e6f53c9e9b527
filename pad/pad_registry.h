// The pad's registry entries: its own key (DisplayName, UninstallString, Pad,
// Settings) under ...\CurrentVersion\Uninstall\Tessdeck, the logon Run key,
// and the open command of ".tks" files.
//
// The machine-wide hive is used where it can be written. Where it cannot (an
// ordinary user on Windows), the same key paths under the current user's
// hive are used instead, the association under the user's classes, and read
// back from there: the settings are never lost silently.
//
// The roots are injectable so that a test can stand a key of its own in for
// each hive (and a machine hive that cannot be written).
#pragma once

#include <windows.h>

#include <string>

#include "wingui/handles.h"

namespace tessdeck {

struct RegistryRoots {
    HKEY machine = HKEY_LOCAL_MACHINE;  // the pad's key and the Run key
    HKEY classes = HKEY_CLASSES_ROOT;   // ".tks"
    HKEY user = HKEY_CURRENT_USER;      // the fallback of both
};

// The pad's key (...\Uninstall\<caption>) and the Run key.
std::string PadKeyPath(const std::string& caption);  // ...\Uninstall\<caption>
std::string RunKeyPath();                            // ...\Run
// Where the user's classes live below the user's root.
extern const char* const kUserClassesKey;

enum class Hive { Machine, User };

// What start-up finds and writes.
struct PadKeyState {
    Hive hive = Hive::Machine;  // where the pad's key is kept
    bool existed = false;       // the key was there already
    bool written = false;       // it could be opened or created somewhere
    std::string pad;            // "Pad"
    std::string settings;       // "Settings"
    bool autoStart = false;     // the Run key holds "Tessdeck"
};

class PadRegistry {
public:
    PadRegistry(const RegistryRoots& roots, std::string caption);

    // Whether the pad's key exists in either hive (the machine's first).
    bool padKeyExists() const;

    // Start-up: opens the pad's key, creating it where it is missing with
    // "DisplayName" = the caption, "Pad" = "" and "UninstallString" =
    // `uninstallString`, and reads "Pad" and "Settings" from it. The
    // machine's hive is tried first; the user's when the machine's cannot be
    // written, a new key there starting from the values of a machine's key
    // that can be read.
    PadKeyState openPadKey(const std::string& uninstallString);

    // ".tks" under the classes root, with "shell\open\command" = `command`,
    // written only when ".tks" does not exist yet; under the user's classes
    // when the classes root cannot be written. Answers whether it wrote.
    bool registerScriptFiles(const std::string& command);

    // Exit: writes "Pad" and "Settings" into the pad's key where start-up
    // found or made it, without creating it. Answers whether both were
    // written.
    bool saveSettings(Hive hive, const std::string& pad, const std::string& settings);

    // "Auto Start": on, the Run value "Tessdeck" = `command` under the
    // machine's Run key (opened, not created), or under the user's when the
    // machine's cannot be written; off, the value goes from both. Answers
    // whether the registry did as asked.
    bool setAutoStart(bool on, const std::string& command);
    // Whether either hive's Run key holds "Tessdeck".
    bool autoStart() const;

    // "/uninstall": the pad's key, the Run value "Tessdeck" and ".tks" go,
    // from every hive that holds them.
    void uninstall();

    // A string value of `path` under `root`; "" when missing.
    static std::string ReadString(HKEY root, const std::string& path, const char* name);

private:
    HKEY rootOf(Hive hive) const { return hive == Hive::Machine ? roots_.machine : roots_.user; }

    RegistryRoots roots_;
    std::string caption_;
};

}  // namespace tessdeck
