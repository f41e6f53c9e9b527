// Helpers of the tests that drive Tessdeck: its tray icon, registry values
// written for a test, and keys of the test standing in for the registry's
// roots.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "pad/pad_registry.h"
#include "pad/tdeck_form.h"

namespace taskloom::wintest {

// Whether the pad's tray icon is there: only an icon that exists can be
// modified.
inline bool TrayIconThere(HWND pad) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = pad;
    data.uID = tessdeck::TDeckForm::kTrayIconId;
    data.uFlags = NIF_TIP;
    lstrcpynA(data.szTip, "Tessdeck", sizeof data.szTip);
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// Writes the string value `name` (the key's default value when null) of
// the key `path` under `root`, making the key if needed; a test fails when
// it cannot.
inline void SetRegString(HKEY root, const std::string& path, const char* name, const std::string& value) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    const LONG set = RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
    ASSERT_EQ(set, ERROR_SUCCESS) << path;
}

// Three keys of the test below HKEY_CURRENT_USER\`base`, standing in for the
// machine's hive, the classes root and the user's hive of a pad form hosted
// in the test. They start empty and are deleted with the object.
class RegistrySandbox {
public:
    explicit RegistrySandbox(std::string base) : base_(std::move(base)) {
        RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
        roots_ = {nullptr, nullptr, nullptr};
        HKEY* keys[] = {&roots_.machine, &roots_.classes, &roots_.user};
        const char* names[] = {"machine", "classes", "user"};
        for (int i = 0; i < 3; ++i) {
            if (RegCreateKeyExA(HKEY_CURRENT_USER, (base_ + "\\" + names[i]).c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, keys[i], nullptr) != ERROR_SUCCESS) {
                close();
                throw std::runtime_error("cannot make the test's registry key " + base_ + "\\" + names[i]);
            }
        }
    }
    ~RegistrySandbox() { close(); }
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    const tessdeck::RegistryRoots& roots() const { return roots_; }
    HKEY machine() const { return roots_.machine; }
    HKEY classes() const { return roots_.classes; }
    HKEY user() const { return roots_.user; }

private:
    void close() {
        for (HKEY k : {roots_.machine, roots_.classes, roots_.user})
            if (k) RegCloseKey(k);
        roots_ = {nullptr, nullptr, nullptr};
        RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
    }

    std::string base_;
    tessdeck::RegistryRoots roots_;
};

}  // namespace taskloom::wintest
