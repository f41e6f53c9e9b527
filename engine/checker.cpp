#include "engine/checker.h"

#include <algorithm>

#include "engine/checker_parts.h"
#include "engine/engine.h"
#include "engine/text.h"

namespace taskloom {
namespace check {

std::vector<Finding> Checker::run() {
    scanLines();
    findBlocks();
    findLabels();
    findJumpTargets();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (blockOf_[i]) {
            checkBlockLine(i, *blockOf_[i]);
            continue;
        }
        if (!readings_[i]) continue;
        checkTokens(i);
        checkLiteralText(i);
        if (readings_[i]->command) checkCommand(i);
    }
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return std::move(findings_);
}

// Reads every line; a line that would type too many keys is abandoned by
// the run and has no reading to check.
void Checker::scanLines() {
    const std::size_t n = lines_.size();
    scans_.reserve(n);
    readings_.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        scans_.push_back(ScanLine(lines_[i]));
        if (scans_[i].keyCount > kMaxLineKeys)
            error(i, "the line would type more than " + std::to_string(kMaxLineKeys) +
                         " keys (a repeat count " + "too large?): the run would be abandoned here");
        else
            readings_[i] = scans_[i].reading;
    }
}

// The labels that some loop or jump goes to.
void Checker::findJumpTargets() {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (rowOf(i) != CommandKind::Loop) continue;
        const std::string& value = readings_[i]->parameter;
        jumpTargets_.insert(UpperCase(value.substr(0, value.find(' '))));
    }
}

CommandKind Checker::rowOf(std::size_t i) const {
    return readings_[i] && readings_[i]->command ? ClassifyCommand(*readings_[i]) : CommandKind::Nothing;
}

}  // namespace check

std::vector<Finding> CheckScript(const std::vector<std::string>& lines, const std::string& scriptFolder) {
    return check::Checker(lines, scriptFolder).run();
}

const char* SeverityName(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

std::string FormatFinding(const std::string& file, const Finding& finding) {
    return file + ":" + std::to_string(finding.line) + ": " + SeverityName(finding.severity) + ": " +
           finding.message;
}

}  // namespace taskloom
