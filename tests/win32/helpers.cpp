#include "tests/win32/helpers.h"

#include "engine/filestore.h"
#include "win32/win32_program.h"
#include "wingui/controls.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <vector>

namespace taskloom::wintest {

ChildProcess::ChildProcess(const std::string& commandLine, const std::string& folder, HANDLE out, HANDLE err,
                           DWORD flags) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    const bool redirect = out || err;
    if (redirect) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = out ? out : GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = err ? err : GetStdHandle(STD_ERROR_HANDLE);
    }
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');  // CreateProcessA may write into the command line
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, redirect, flags, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info_))
        throw std::runtime_error("cannot start " + commandLine + " (error " + std::to_string(GetLastError()) +
                                 ")");
}

ChildProcess::ChildProcess(DWORD pid) {
    info_.hProcess =
        OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!info_.hProcess) throw std::runtime_error("cannot open process " + std::to_string(pid));
    info_.dwProcessId = pid;
}

ChildProcess::~ChildProcess() {
    if (running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    if (info_.hThread) CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool ChildProcess::running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

bool ChildProcess::waitForExit(DWORD ms) const {
    return WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0;
}

bool ChildProcess::waitForInputIdle(DWORD ms) const { return WaitForInputIdle(info_.hProcess, ms) == 0; }

DWORD ChildProcess::exitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

namespace {

// Removes a folder and everything in it; what cannot be removed stays.
void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + "\\");
            else
                DeleteFileA((folder + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

struct FileCloser {
    void operator()(HANDLE h) const {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
using OwnedFile = std::unique_ptr<void, FileCloser>;

OwnedFile CreateInheritable(const std::string& name) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE h = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + name);
    return OwnedFile(h);
}

}  // namespace

TempFolder::TempFolder() {
    char base[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(sizeof base, base);
    if (n == 0 || n > MAX_PATH) throw std::runtime_error("no temporary folder");
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = std::string(base) + "tl_test_" + std::to_string(GetCurrentProcessId()) +
                                      "_" + std::to_string(++counter) + "\\";
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempFolder::~TempFolder() { RemoveTree(path_); }

struct CapturedRun::Files {
    std::string outName, errName;
    OwnedFile out, err;
};

CapturedRun::CapturedRun(const std::string& commandLine, const std::string& folder)
    : files_(std::make_unique<Files>()) {
    files_->outName = folder + "stdout.txt";
    files_->errName = folder + "stderr.txt";
    files_->out = CreateInheritable(files_->outName);
    files_->err = CreateInheritable(files_->errName);
    start_ = GetTickCount64();
    program_ = std::make_unique<ChildProcess>(commandLine, folder, files_->out.get(), files_->err.get());
}

CapturedRun::~CapturedRun() = default;

Finished CapturedRun::finish(DWORD timeoutMs) {
    Finished f;
    if (!program_) return f;
    f.timedOut = !program_->waitForExit(timeoutMs);
    f.ms = static_cast<DWORD>(GetTickCount64() - start_);
    f.status = program_->exitCode();
    program_.reset();  // ended by now
    files_->out.reset();
    files_->err.reset();
    // The runner's standard streams are text streams: "\n" reaches the file
    // as CR LF.
    auto lines = [](std::string text) {
        std::string plain;
        for (size_t i = 0; i < text.size(); ++i)
            if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) plain += text[i];
        return plain;
    };
    f.out = lines(ReadWholeFile(files_->outName));
    f.err = lines(ReadWholeFile(files_->errName));
    return f;
}

std::string FromBuildPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string windows = "Z:" + path;
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
}

CapturedRun StartScript(const TempFolder& folder, const std::vector<std::string>& lines,
                        const std::string& options, const std::string& name) {
    WriteScriptFile(folder / name, lines);
    return CapturedRun(
        Quote(TaskloomExe()) + " run " + options + (options.empty() ? "" : " ") + Quote(folder / name),
        folder.path());
}

bool ModifierDown() {
    for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU})
        if (GetAsyncKeyState(vk) & 0x8000) return true;
    return false;
}

void KeyEvent(BYTE vk, bool up) {
    keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)), up ? KEYEVENTF_KEYUP : 0, 0);
}

void PressKey(BYTE vk) {
    KeyEvent(vk, false);
    KeyEvent(vk, true);
}

void PressKeys(std::initializer_list<BYTE> mods, BYTE vk) {
    for (const BYTE m : mods) KeyEvent(m, false);
    PressKey(vk);
    for (auto m = std::rbegin(mods); m != std::rend(mods); ++m) KeyEvent(*m, true);
}

Target::Target(const std::string& options, const std::string& title)
    : process_(Quote(ExeDir() + "tl_target.exe") + " " + options) {
    window_ = WaitForWindow(title, process_.id());
    if (window_) field_ = FindChildByClass(window_, "Edit");
    if (field_ && (GetWindowLongA(field_, GWL_STYLE) & ES_MULTILINE) == 0) field_ = nullptr;
}

namespace {

struct TextSearch {
    const std::string* text;
    HWND found;
};

BOOL CALLBACK MatchText(HWND h, LPARAM p) {
    auto* search = reinterpret_cast<TextSearch*>(p);
    if (ControlText(h) == *search->text) {
        search->found = h;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND Target::control(const std::string& text) const {
    TextSearch search{&text, nullptr};
    if (window_) EnumChildWindows(window_, MatchText, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Target::fieldText(const std::optional<std::string>& expected) const {
    return field_ ? ReadUntilStable(field_, expected) : std::string();
}

std::string TaskloomExe() { return FromBuildPath(TASKLOOM_EXE); }

std::string ReadWholeFile(const std::string& name) {
    OwnedFile file(CreateFileA(name.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
    return text;
}

std::vector<std::string> ImportedLibraries(const std::string& exePath) {
    const std::string image = ReadWholeFile(exePath);
    // Every read is checked against the file's end: a short or odd file
    // gives an empty list, never a read past the buffer.
    auto at = [&image](std::size_t offset, std::size_t size) -> const char* {
        return offset <= image.size() && size <= image.size() - offset ? image.data() + offset : nullptr;
    };
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0, sizeof(IMAGE_DOS_HEADER)));
    if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return {};
    const auto* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS64*>(at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS64)));
    if (!nt || nt->Signature != IMAGE_NT_SIGNATURE ||
        nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        return {};
    const std::size_t sectionsAt =
        dos->e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader;
    const WORD count = nt->FileHeader.NumberOfSections;
    const auto* sections =
        reinterpret_cast<const IMAGE_SECTION_HEADER*>(at(sectionsAt, count * sizeof(IMAGE_SECTION_HEADER)));
    if (!sections) return {};
    auto fileOffset = [&](DWORD rva) -> std::size_t {
        for (WORD i = 0; i < count; ++i)
            if (rva >= sections[i].VirtualAddress &&
                rva < sections[i].VirtualAddress + sections[i].SizeOfRawData)
                return rva - sections[i].VirtualAddress + sections[i].PointerToRawData;
        return image.size();
    };
    std::vector<std::string> names;
    const DWORD importsRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (std::size_t d = fileOffset(importsRva);; d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* entry =
            reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(d, sizeof(IMAGE_IMPORT_DESCRIPTOR)));
        if (!entry) return {};
        if (entry->Name == 0) break;
        const std::size_t nameAt = fileOffset(entry->Name);
        const char* name = at(nameAt, 1);
        if (!name) return {};
        std::string text(name, strnlen(name, image.size() - nameAt));
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        names.push_back(text);
    }
    return names;
}

std::string ExeDir() { return ProgramFolder(); }

std::string Quote(const std::string& arg) { return "\"" + arg + "\""; }

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

bool HotKeyFree(UINT mods, UINT vk) {
    if (!RegisterHotKey(nullptr, 0xB000, mods, vk)) return false;
    UnregisterHotKey(nullptr, 0xB000);
    return true;
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

HWND WaitForWindow(const std::string& title, DWORD pid, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND h = FindWindowExA(nullptr, nullptr, nullptr, title.c_str()); h;
                 h = FindWindowExA(nullptr, h, nullptr, title.c_str())) {
                DWORD owner = 0;
                GetWindowThreadProcessId(h, &owner);
                if ((pid == 0 || owner == pid) && IsWindowVisible(h)) {
                    found = h;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

void WaitForStartup(const ChildProcess& program, HWND main) {
    program.waitForInputIdle(15000);
    WaitUntil([&] { return GetForegroundWindow() == main; }, 5000);
}

namespace {

struct ClassSearch {
    const std::string* name;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND h, LPARAM p) {
    auto* search = reinterpret_cast<ClassSearch*>(p);
    char cls[256];
    if (GetClassNameA(h, cls, sizeof cls) > 0 && lstrcmpiA(cls, search->name->c_str()) == 0) {
        search->found = h;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindChildByClass(HWND parent, const std::string& className) {
    ClassSearch search{&className, nullptr};
    EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void SetControlText(HWND control, const std::string& text) {
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                        5000, nullptr);
}

std::string TreeItemText(HWND tree, HTREEITEM item) { return wingui::TreeView{tree}.text(item); }

std::string ControlText(HWND control) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
    // Room for text that grows between the two messages.
    std::string text(length + 256, '\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &got))
        return {};
    text.resize(std::min<size_t>(got, text.size() - 1));
    return text;
}

std::string MessageBoxTexts(HWND box, DWORD timeoutMs) {
    std::string texts;
    WaitUntil(
        [&] {
            texts.clear();
            bool message = false, button = false;
            for (HWND h = GetWindow(box, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
                const std::string text = ControlText(h);
                char cls[32] = {};
                GetClassNameA(h, cls, sizeof cls);
                if (!text.empty()) (lstrcmpiA(cls, "Button") == 0 ? button : message) = true;
                texts += text + "|";
            }
            return message && button;
        },
        timeoutMs);
    return texts;
}

std::string ReadUntilStable(HWND control, const std::optional<std::string>& expected, DWORD quietMs,
                            DWORD timeoutMs) {
    // Once the expected text is there, a short quiet spell is enough to see
    // that no stray key follows it.
    constexpr DWORD kConfirmMs = 200;
    const ULONGLONG start = GetTickCount64();
    std::string last = ControlText(control);
    ULONGLONG changed = start;
    for (;;) {
        Sleep(20);
        const ULONGLONG now = GetTickCount64();
        std::string text = ControlText(control);
        if (text != last) {
            last = std::move(text);
            changed = now;
            continue;
        }
        const DWORD quiet = (expected && last == *expected) ? kConfirmMs : quietMs;
        if (now - changed >= quiet || now - start >= timeoutMs) return last;
    }
}

namespace {
BOOL CALLBACK CollectTips(HWND w, LPARAM out) {
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0) reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
    return TRUE;
}
}  // namespace

std::string HintOf(HWND form, HWND control) {
    std::vector<HWND> tips;
    EnumThreadWindows(GetWindowThreadProcessId(form, nullptr), CollectTips, reinterpret_cast<LPARAM>(&tips));
    for (HWND t : tips) {
        char text[256] = {};
        TOOLINFOA ti{};
        ti.cbSize = TTTOOLINFOA_V1_SIZE;
        ti.hwnd = GetParent(control);  // the tools are the controls, on their parent
        ti.uId = reinterpret_cast<UINT_PTR>(control);
        ti.lpszText = text;
        if (!SendMessageA(t, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti))) continue;
        ti.lpszText = text;
        SendMessageA(t, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&ti));
        if (text[0]) return text;
    }
    return {};
}

}  // namespace taskloom::wintest
