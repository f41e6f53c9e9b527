// No modifier key stays pressed after a run of the console runner, however
// the run ends: abandoned by a command that fails on a line that pressed
// Ctrl, Shift or Alt, or stopped while a note holds it (its Abort button, or
// the --note=abort answer). The runner is a child process; the key state is
// read here after it has ended.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/text.h"
#include "tests/win32/helpers.h"

namespace taskloom {
namespace {

using wintest::ChildProcess;
using wintest::WaitUntil;

constexpr char kReceiverTitle[] = "Taskloom Keys Receiver";
constexpr char kNoteTitle[] = "Stuck keys note";

bool Exists(const std::string& file) { return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

DWORD ExitCodeOf(const ChildProcess& p) {
    DWORD code = 0xFFFFFFFF;
    if (HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, p.id())) {
        GetExitCodeProcess(h, &code);
        CloseHandle(h);
    }
    return code;
}

std::string ModifiersDown() {
    std::string down;
    const struct {
        int vk;
        const char* name;
    } keys[] = {{VK_SHIFT, "Shift"}, {VK_CONTROL, "Ctrl"}, {VK_MENU, "Alt"}};
    for (const auto& k : keys)
        if (GetAsyncKeyState(k.vk) & 0x8000) down += std::string(down.empty() ? "" : ", ") + k.name;
    return down;
}

void ReleaseModifiers() {
    for (BYTE vk : {VK_MENU, VK_CONTROL, VK_SHIFT})
        keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)), KEYEVENTF_KEYUP, 0);
}

enum class Ending { Fails, NoteAbortButton, NoteAbortOption };

struct StuckCase {
    const char* name;
    std::vector<std::string> lines;
    Ending ending;
    DWORD exitStatus;
    std::string typedFirst;  // what the receiver shows once the run is over
};

TEST(StuckKeys, ModifiersAreUpHoweverTheRunEnds) {
    const std::string runner = wintest::ExeDir() + "..\\..\\cli\\taskloom.exe";
    ASSERT_TRUE(Exists(runner)) << runner;
    // The keys of the runs go to a receiver of ours.
    ChildProcess receiver(wintest::Quote(wintest::ExeDir() + "tl_receiver.exe") + " --at=20,20 " +
                          wintest::Quote(kReceiverTitle));
    const HWND main = wintest::WaitForWindow(kReceiverTitle, receiver.id());
    ASSERT_TRUE(main);
    const HWND edit = wintest::FindChildByClass(main, "Edit");
    ASSERT_TRUE(edit);

    char tempDir[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, tempDir), 0u);
    const std::string base = std::string(tempDir) + "tl_stuck_" + std::to_string(GetCurrentProcessId());
    const std::string missing = base + "_no_such_clips.txt", after = base + "_after.txt";
    const std::string toReceiver = std::string("{:TO ") + kReceiverTitle + "}";
    const StuckCase cases[] = {
        {"Ctrl and Shift, then a note whose x is no number",
         {toReceiver, "abc", "{Ctrl}{Shift}{:PopUp x 1 t}", "never", "{:ClipsSave " + after + "}"},
         Ending::Fails,
         4,
         "abc"},
        {"Alt, then the clips load of a missing file",
         {toReceiver, "def", "{Alt}{:ClipsLoad " + missing + "}", "{:ClipsSave " + after + "}"},
         Ending::Fails,
         4,
         "def"},
        {"Shift and Ctrl before a note that is aborted by its button",
         {toReceiver, "ghi", "{Shift}{Ctrl}{:PopUp 300 200 " + std::string(kNoteTitle) + "}", "hold on",
          "{:ClipsSave " + after + "}"},
         Ending::NoteAbortButton,
         5,
         "ghi"},
        {"Alt and Shift before a note answered Abort by the option",
         {toReceiver, "jkl", "{Alt}{Shift}{:PopUp 300 200 " + std::string(kNoteTitle) + "}", "hold on",
          "{:ClipsSave " + after + "}"},
         Ending::NoteAbortOption,
         5,
         "jkl"},
    };
    for (const StuckCase& c : cases) {
        SCOPED_TRACE(c.name);
        ReleaseModifiers();
        ASSERT_EQ(ModifiersDown(), "") << "down before the run";
        SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""), SMTO_ABORTIFHUNG, 5000,
                            nullptr);
        DeleteFileA(after.c_str());
        const std::string script = base + ".tks";
        std::ofstream(script, std::ios::binary) << JoinCommaText(c.lines);

        const std::string options = c.ending == Ending::NoteAbortOption ? "--note=abort " : "";
        ChildProcess run(wintest::Quote(runner) + " run " + options + wintest::Quote(script));
        if (c.ending == Ending::NoteAbortButton) {
            HWND note = nullptr;
            ASSERT_TRUE(WaitUntil(
                [&] {
                    note = wintest::WaitForWindow(kNoteTitle, run.id(), 0);
                    return note != nullptr;
                },
                15000));
            SendMessageA(FindWindowExA(note, nullptr, "Button", "&Abort"), BM_CLICK, 0, 0);
        }
        ASSERT_TRUE(run.waitForExit(15000)) << "the run did not end";
        EXPECT_EQ(ExitCodeOf(run), c.exitStatus);
        // The run went as far as the line with the modifiers, and no further.
        EXPECT_EQ(wintest::ReadUntilStable(edit, c.typedFirst), c.typedFirst);
        EXPECT_FALSE(Exists(after)) << "a line after the end ran";
        EXPECT_EQ(ModifiersDown(), "") << "left down after the run";
        DeleteFileA(script.c_str());
        DeleteFileA(after.c_str());
    }
    ReleaseModifiers();
}

}  // namespace
}  // namespace taskloom
