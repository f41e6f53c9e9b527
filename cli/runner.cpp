#include "cli/runner.h"

#include <optional>
#include <ostream>

#include "engine/checker.h"
#include "engine/errors.h"
#include "engine/filestore.h"
#include "engine/text.h"
#include "engine/trace.h"
#include "taskloom_version.h"

namespace taskloom::cli {
namespace {

const char* const kUsage =
    "usage: taskloom run [options] FILE.tks\n"
    "       taskloom check FILE.tks...\n"
    "       taskloom run --help | check --help\n"
    "       taskloom --version\n";

const char* const kRunHelp =
    "taskloom run [options] FILE.tks\n"
    "\n"
    "Runs a Taskloom script: brings windows forward, types keys, captures text\n"
    "into the clips buffer, shows notes and loops, as the script says. Keys go\n"
    "to the window that has the keyboard focus on this desktop.\n"
    "\n"
    "Options:\n"
    "  --note=continue|abort  answer every note without a person (for schedulers\n"
    "                         and test pipelines); the note is printed to standard\n"
    "                         error. Without it the note window waits for a click.\n"
    "  --delimiter=D          the clips delimiter at the start of the run: line,\n"
    "                         none, tab, space, comma, or any single character\n"
    "  --print-clips          print the clips buffer to standard output at the end\n"
    "  --trace                print to standard error each line as it runs (its\n"
    "                         number and text), the keys it sends, what its command\n"
    "                         did, and how the run ended\n"
    "  --composer             use the composer's variants of the commands (program\n"
    "                         start, clips delimiter, clipboard capture) instead of\n"
    "                         the launcher pad's\n"
    "\n"
    "Messages that end a run (\"Undefined Label\", \"Inactive Window\") and failures\n"
    "go to standard error. Ctrl+C stops the run before its next line.\n"
    "\n"
    "Exit status:\n"
    "  0  the script ran to its end\n"
    "  1  the command line is wrong\n"
    "  2  the script file cannot be read\n"
    "  3  the run ended with a message (undefined label, inactive window)\n"
    "  4  a command failed and the run was abandoned (the message names the line)\n"
    "  5  the run was stopped (the note's Abort, or Ctrl+C)\n";

const char* const kCheckHelp =
    "taskloom check FILE.tks...\n"
    "\n"
    "Checks scripts without running them, for lines that the interpreter takes\n"
    "without a word but that would end the run, or that are probably not what was\n"
    "meant: a jump to a label no line defines, a note line that does not convert,\n"
    "a misspelt key name or command, a key token typed as text, a remark block\n"
    "that swallows the lines after it, and more. Each finding is one line:\n"
    "\n"
    "  FILE:LINE: error: MESSAGE      the run would end or be abandoned there\n"
    "  FILE:LINE: warning: MESSAGE    legal, but probably not meant\n"
    "\n"
    "with lines counted from 1; a summary line follows.\n"
    "\n"
    "Exit status:\n"
    "  0  nothing to report\n"
    "  1  warnings only\n"
    "  2  errors\n"
    "  3  a file cannot be read (the other files are still checked)\n"
    "  4  the command line is wrong\n";

std::string Plural(std::size_t n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

int Check(const std::vector<std::string>& args, Platform& p) {
    std::vector<std::string> files;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            *p.out << kCheckHelp;
            return kCheckClean;
        }
        if (StartsWith(a, "--")) {
            *p.err << "taskloom: unknown option " << a << "\n" << kUsage;
            return kCheckUsage;
        }
        files.push_back(a);
    }
    if (files.empty()) {
        *p.err << "taskloom: no script file given\n" << kUsage;
        return kCheckUsage;
    }
    std::size_t errors = 0, warnings = 0, unreadable = 0;
    for (const std::string& file : files) {
        std::vector<std::string> lines;
        try {
            lines = ReadScriptFile(file);
        } catch (const FileError& e) {
            *p.err << "taskloom: " << e.what() << "\n";
            ++unreadable;
            continue;
        }
        for (const Finding& f : CheckScript(lines, FolderOf(file))) {
            *p.out << FormatFinding(file, f) << "\n";
            ++(f.severity == Severity::Error ? errors : warnings);
        }
    }
    *p.out << Plural(files.size() - unreadable, "file") << " checked: " << Plural(errors, "error") << ", "
           << Plural(warnings, "warning");
    if (unreadable) *p.out << "; " << Plural(unreadable, "file") << " could not be read";
    *p.out << "\n";
    if (unreadable) return kCheckUnreadable;
    if (errors) return kCheckErrors;
    return warnings ? kCheckWarnings : kCheckClean;
}

// The console's host: the script's lines, messages to standard error, notes
// answered by the window or by the --note option.
class ConsoleHost : public Host {
public:
    ConsoleHost(Flavor f, std::vector<std::string> lines, Platform& p)
        : flavor_(f), lines_(std::move(lines)), p_(p) {}

    Flavor flavor() const override { return flavor_; }
    std::size_t lineCount() override { return lines_.size(); }
    std::string line(std::size_t i) override { return lines_.at(i); }
    void clearLines() override {
        lines_.clear();
        ++generation_;
    }
    // The list changes only when it is emptied.
    std::uint64_t listGeneration() override { return generation_; }
    void showMessage(const std::string& text) override {
        std::string shown = text;
        for (char& c : shown)
            if (c == '\r') c = '\n';
        *p_.err << shown << "\n";
    }
    NoteAnswer showNote(const std::string& title, const std::vector<std::string>& lines, int x,
                        int y) override {
        NoteAnswer a;
        if (autoAnswer_) {
            *p_.err << "note \"" << title << "\" at " << x << "," << y << ":\n";
            for (const std::string& l : lines) *p_.err << "  " << l << "\n";
            a = *autoAnswer_;
            *p_.err << "  -> " << (a == NoteAnswer::Abort ? "Abort" : "Continue") << "\n";
        } else if (p_.note) {
            a = p_.note(title, lines, x, y);
        } else {
            *p_.err << "note \"" << title << "\": no note window here and no --note answer; aborting\n";
            a = NoteAnswer::Abort;
        }
        if (a == NoteAnswer::Abort) aborted = true;
        return a;
    }
    std::string programDir() override { return p_.programDir; }

    std::optional<NoteAnswer> autoAnswer_;
    bool aborted = false;

private:
    Flavor flavor_;
    std::vector<std::string> lines_;
    std::uint64_t generation_ = 0;
    Platform& p_;
};

bool ParseDelimiter(const std::string& v, int& out) {
    if (v == "line")
        out = kDelimiterLine;
    else if (v == "none")
        out = kDelimiterNone;
    else if (v == "tab")
        out = '\t';
    else if (v == "space")
        out = ' ';
    else if (v == "comma")
        out = ',';
    else if (v.size() == 1)
        out = static_cast<unsigned char>(v[0]);
    else
        return false;
    return true;
}

// What `taskloom run` was told on its command line.
struct RunOptions {
    std::optional<NoteAnswer> answer;  // every note answered so (--note)
    std::optional<int> delimiter;      // the clips delimiter at the start
    bool printClips = false;
    bool trace = false;
    Flavor flavor = Flavor::Pad;
    std::string file;
};

// Reads one option of `taskloom run` into `o`; an exit status when the run
// must end here (its help shown, or the option wrong).
std::optional<int> ReadRunOption(const std::string& a, RunOptions& o, Platform& p) {
    if (a == "--help" || a == "-h") {
        *p.out << kRunHelp;
        return kExitOk;
    } else if (StartsWith(a, "--note=")) {
        const std::string v = a.substr(7);
        if (v == "continue")
            o.answer = NoteAnswer::Continue;
        else if (v == "abort")
            o.answer = NoteAnswer::Abort;
        else {
            *p.err << "taskloom: --note takes continue or abort, not \"" << v << "\"\n";
            return kExitUsage;
        }
    } else if (StartsWith(a, "--delimiter=")) {
        int d = 0;
        if (!ParseDelimiter(a.substr(12), d)) {
            *p.err << "taskloom: --delimiter takes line, none, tab, space, comma or one character\n";
            return kExitUsage;
        }
        o.delimiter = d;
    } else if (a == "--print-clips") {
        o.printClips = true;
    } else if (a == "--trace") {
        o.trace = true;
    } else if (a == "--composer") {
        o.flavor = Flavor::Composer;
    } else if (StartsWith(a, "--")) {
        *p.err << "taskloom: unknown option " << a << "\n" << kUsage;
        return kExitUsage;
    } else if (o.file.empty()) {
        o.file = a;
    } else {
        *p.err << "taskloom: one script file at a time\n" << kUsage;
        return kExitUsage;
    }
    return std::nullopt;
}

// Runs the script's lines as the options say; answers the exit status.
int RunLines(const RunOptions& o, std::vector<std::string> lines, Platform& p) {
    ConsoleHost host(o.flavor, std::move(lines), p);
    host.autoAnswer_ = o.answer;
    Engine engine(*p.desktop, host);
    if (o.delimiter) engine.setDelimiter(*o.delimiter);
    Tracer tracer(*p.err);
    if (o.trace) engine.setObserver(&tracer);
    int status = kExitOk;
    if (p.running) *p.running = &engine;
    try {
        switch (engine.RunScript()) {
            case RunEnd::Message:
                status = kExitMessage;
                break;
            case RunEnd::Stopped:
                status = kExitStopped;
                break;
            default:
                status = host.aborted ? kExitStopped : kExitOk;
                break;
        }
    } catch (const std::exception& e) {
        *p.err << "taskloom: " << o.file << ": " << e.what() << "\n";
        status = kExitFailure;
    }
    if (p.running) *p.running = nullptr;
    if (o.printClips)
        for (const std::string& l : engine.clips().lines()) *p.out << l << "\n";
    return status;
}

int Run(const std::vector<std::string>& args, Platform& p) {
    RunOptions options;
    for (size_t i = 1; i < args.size(); ++i)
        if (const std::optional<int> status = ReadRunOption(args[i], options, p)) return *status;
    if (options.file.empty()) {
        *p.err << "taskloom: no script file given\n" << kUsage;
        return kExitUsage;
    }
    std::vector<std::string> lines;
    try {
        lines = ReadScriptFile(options.file);
    } catch (const FileError& e) {
        *p.err << "taskloom: " << e.what() << "\n";
        return kExitUnreadable;
    }
    return RunLines(options, std::move(lines), p);
}

}  // namespace

int Main(const std::vector<std::string>& args, Platform& platform) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        *platform.out << kUsage << "\n" << kRunHelp << "\n" << kCheckHelp;
        return args.empty() ? kExitUsage : kExitOk;
    }
    if (args[0] == "--version") {
        if (args.size() > 1) {
            *platform.err << "taskloom: --version takes nothing after it\n" << kUsage;
            return kExitUsage;
        }
        *platform.out << "taskloom " << TASKLOOM_VERSION << "\n";
        return kExitOk;
    }
    if (args[0] == "run") return Run(args, platform);
    if (args[0] == "check") return Check(args, platform);
    *platform.err << "taskloom: unknown command \"" << args[0] << "\"\n" << kUsage;
    return kExitUsage;
}

}  // namespace taskloom::cli
