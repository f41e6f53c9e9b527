// tl_clipper: puts texts on the clipboard from a process of its own, as
// another program would, for the Wine tests of the pad's clipboard watching.
//
//   tl_clipper.exe [--private | --history0 | --history1] TEXT...
//
// Each TEXT becomes one copy (the text as CF_TEXT), one after the other.
// --private also marks every copy with the registered format
// "ExcludeClipboardContentFromMonitorProcessing"; --history0 and --history1
// give it "CanIncludeInClipboardHistory" with the value 0 or 1. "\n" in a
// TEXT stands for CR LF. Exit status 0 when every copy was made.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

HGLOBAL Block(const void* data, std::size_t size) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!h) return nullptr;
    std::memcpy(GlobalLock(h), data, size);
    GlobalUnlock(h);
    return h;
}

bool Copy(const std::string& text, const char* markName, DWORD markValue) {
    bool opened = false;
    for (int i = 0; i < 200 && !opened; ++i) {
        opened = OpenClipboard(nullptr) != FALSE;
        if (!opened) Sleep(5);
    }
    if (!opened) return false;
    EmptyClipboard();
    bool ok = SetClipboardData(CF_TEXT, Block(text.c_str(), text.size() + 1)) != nullptr;
    if (markName) {
        const UINT format = RegisterClipboardFormatA(markName);
        ok = ok && SetClipboardData(format, Block(&markValue, sizeof markValue)) != nullptr;
    }
    CloseClipboard();
    return ok;
}

std::string Unescape(const char* arg) {
    std::string text;
    for (const char* p = arg; *p; ++p) {
        if (p[0] == '\\' && p[1] == 'n') {
            text += "\r\n";
            ++p;
        } else {
            text += *p;
        }
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const char* mark = nullptr;
    DWORD value = 0;
    int first = 1;
    if (argc > 1 && std::strcmp(argv[1], "--private") == 0) {
        mark = "ExcludeClipboardContentFromMonitorProcessing";
        first = 2;
    } else if (argc > 1 &&
               (std::strcmp(argv[1], "--history0") == 0 || std::strcmp(argv[1], "--history1") == 0)) {
        mark = "CanIncludeInClipboardHistory";
        value = argv[1][9] == '1' ? 1 : 0;
        first = 2;
    }
    for (int i = first; i < argc; ++i)
        if (!Copy(Unescape(argv[i]), mark, value)) return 1;
    return 0;
}
