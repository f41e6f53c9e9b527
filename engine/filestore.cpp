#include "engine/filestore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <sys/stat.h>

#include "engine/errors.h"
#include "engine/text.h"

namespace taskloom {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::string Reason() { return std::strerror(errno); }

std::string TempNameBeside(const std::string& name) {
    static std::mt19937 gen{std::random_device{}()};
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x~", static_cast<unsigned>(gen()));
    return name + suffix;
}

}  // namespace

std::string ReadTextFile(const std::string& name) {
    errno = 0;
    FilePtr f(std::fopen(name.c_str(), "rb"));
    if (!f) throw FileError(name, Reason(), "cannot read");
    std::string text;
    char buf[65536];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f.get())) > 0) text.append(buf, got);
    if (std::ferror(f.get())) throw FileError(name, Reason(), "cannot read");
    return text;
}

void WriteTextFile(const std::string& name, std::string_view text) {
    const std::string temp = TempNameBeside(name);
    {
        errno = 0;
        FilePtr f(std::fopen(temp.c_str(), "wb"));
        if (!f) throw FileError(name, Reason(), "cannot write");
        bool ok = std::fwrite(text.data(), 1, text.size(), f.get()) == text.size();
        ok = std::fflush(f.get()) == 0 && ok;
        std::FILE* raw = f.release();
        ok = std::fclose(raw) == 0 && ok;
        if (!ok) {
            std::string reason = Reason();
            std::remove(temp.c_str());
            throw FileError(name, reason, "cannot write");
        }
    }
    if (std::rename(temp.c_str(), name.c_str()) == 0) return;
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::string reason = Reason();
        std::remove(temp.c_str());
        throw FileError(name, reason, "cannot write");
    }
    // Some systems do not rename over an existing file: move the old file
    // aside first and put it back if the new one cannot take its place.
    const std::string aside = TempNameBeside(name);
    if (std::rename(name.c_str(), aside.c_str()) != 0) {
        std::string reason = Reason();
        std::remove(temp.c_str());
        throw FileError(name, reason, "cannot write");
    }
    if (std::rename(temp.c_str(), name.c_str()) != 0) {
        std::string reason = Reason();
        std::rename(aside.c_str(), name.c_str());
        std::remove(temp.c_str());
        throw FileError(name, reason, "cannot write");
    }
    std::remove(aside.c_str());
}

bool FileExists(const std::string& name) {
    if (name.empty()) return false;
    struct stat st {};
    return ::stat(name.c_str(), &st) == 0;
}

std::vector<std::string> ReadScriptFile(const std::string& name) {
    return SplitCommaText(ReadTextFile(name));
}

void WriteScriptFile(const std::string& name, const std::vector<std::string>& lines) {
    WriteTextFile(name, JoinCommaText(lines));
}

std::vector<std::string> SplitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<std::string> ReadTextLines(const std::string& name) { return SplitTextLines(ReadTextFile(name)); }

std::string FolderOf(const std::string& path) {
    size_t p = path.find_last_of("\\/:");
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

}  // namespace taskloom
