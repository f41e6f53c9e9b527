// A folder of its own for one native test: made empty under the system's
// temporary folder, named after the test program's run and the test, and
// removed with everything in it when the test is over.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "engine/filestore.h"

namespace taskloom::sim {

class TempDir {
public:
    // `kind` starts the folder's name, so that a folder left behind by a
    // killed run tells which tests made it.
    explicit TempDir(const std::string& kind = "taskloom-test")
        : path_(std::filesystem::temp_directory_path() /
                (kind + "-" + std::to_string(::getpid()) + "-" + CurrentTestName())) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder with a trailing "/".
    std::string folder() const { return path_.string() + "/"; }
    // The name of `name` in the folder (which need not exist).
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string operator/(const std::string& name) const { return file(name); }
    // Writes `text` as the file `name` and answers its full name.
    std::string write(const std::string& name, const std::string& text) const {
        const std::string full = file(name);
        WriteTextFile(full, text);
        return full;
    }

private:
    static std::string CurrentTestName() {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return info ? std::string(info->test_suite_name()) + "." + info->name() : "outside-a-test";
    }

    std::filesystem::path path_;
};

}  // namespace taskloom::sim
