// System libraries loaded on first use: loaded only when a function is asked
// for, typed functions that work, clear errors for a missing library or
// function, freed with their object, and one load under concurrent first use.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <stdexcept>
#include <thread>
#include <vector>

#include "win32/system_library.h"

namespace taskloom {
namespace {

std::string ErrorOf(SystemLibrary& library, const char* function) {
    try {
        library.function<decltype(GetTickCount)>(function);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

TEST(SystemLibrary, LoadsAtFirstUseGivesWorkingFunctionsAndFreesAfter) {
    if (GetModuleHandleA("winmm.dll")) GTEST_SKIP() << "winmm.dll is loaded in this process already";
    {
        SystemLibrary winmm("winmm.dll");
        EXPECT_FALSE(winmm.loaded());
        EXPECT_EQ(GetModuleHandleA("winmm.dll"), nullptr);
        auto now = winmm.function<decltype(timeGetTime)>("timeGetTime");
        ASSERT_NE(now, nullptr);
        EXPECT_TRUE(winmm.loaded());
        EXPECT_NE(GetModuleHandleA("winmm.dll"), nullptr);
        const DWORD before = now();
        Sleep(30);
        const DWORD passed = now() - before;
        EXPECT_GE(passed, 20u);
        EXPECT_LT(passed, 5000u);
        EXPECT_EQ(winmm.find<decltype(timeGetTime)>("timeGetTime"), now);
    }
    EXPECT_EQ(GetModuleHandleA("winmm.dll"), nullptr) << "the library was not freed with its object";
}

TEST(SystemLibrary, MissingLibraryOrFunctionIsAClearErrorNotACrash) {
    SystemLibrary missing("taskloom_no_such_library.dll");
    EXPECT_EQ(missing.find<decltype(GetTickCount)>("GetTickCount"), nullptr);
    EXPECT_FALSE(missing.loaded());
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::string error = ErrorOf(missing, "GetTickCount");
        EXPECT_NE(error.find("taskloom_no_such_library.dll could not be loaded (error "), std::string::npos)
            << error;
    }

    SystemLibrary kernel("kernel32.dll");
    EXPECT_EQ(kernel.find<decltype(GetTickCount)>("TaskloomNoSuchFunction"), nullptr);
    EXPECT_EQ(ErrorOf(kernel, "TaskloomNoSuchFunction"),
              "the system library kernel32.dll has no function TaskloomNoSuchFunction");
    auto tick = kernel.function<decltype(GetTickCount)>("GetTickCount");
    ASSERT_NE(tick, nullptr);
    EXPECT_NE(tick(), 0u);
}

TEST(SystemLibrary, ConcurrentFirstUseLoadsOnce) {
    SystemLibrary winmm("winmm.dll");
    std::vector<decltype(timeGetTime)*> found(8, nullptr);
    std::vector<std::thread> threads;
    for (auto& f : found)
        threads.emplace_back([&winmm, &f] { f = winmm.find<decltype(timeGetTime)>("timeGetTime"); });
    for (auto& t : threads) t.join();
    for (auto f : found) {
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f, found[0]);
    }
}

}  // namespace
}  // namespace taskloom
