#include "composer/model/script_files.h"

#include "engine/checker.h"
#include "engine/filestore.h"
#include "engine/text.h"

namespace taskloom {

bool IsScriptName(std::string_view name) { return Contains(name, ".tks"); }

SavePlan PlanSave(std::string_view scriptName) {
    return {!IsScriptName(scriptName), std::string(scriptName)};
}

std::string SaveFileName(std::string_view chosen) {
    std::string name(chosen);
    if (!IsScriptName(name)) name += ".tks";
    return name;
}

std::string SaveAsProposal(std::string_view scriptName) {
    return std::string(scriptName.substr(0, scriptName.find(".tks")));
}

std::string CaptionProduct(std::string_view caption) {
    return std::string(caption.substr(0, caption.find(" -")));
}

std::string ScriptCaption(std::string_view caption, std::string_view scriptName) {
    return CaptionProduct(caption) + " - " + std::string(scriptName);
}

NewMacroEffect NewMacro(std::string_view caption, std::string_view scriptName) {
    NewMacroEffect effect;
    effect.caption = ScriptCaption(caption, scriptName);
    return effect;
}

OpenedScript OpenScript(const std::string& fileName) {
    OpenedScript opened;
    try {
        opened.lines = ReadScriptFile(fileName);
    } catch (const FileError& e) {
        opened.lines.clear();
        opened.error = e;
    }
    return opened;
}

void SaveScript(const std::string& fileName, const std::vector<std::string>& lines) {
    WriteScriptFile(fileName, lines);
}

std::optional<std::string> SaveMenuClick(std::string_view scriptName, const std::vector<std::string>& lines,
                                         const AskSaveName& askName) {
    std::string name(scriptName);
    const SavePlan plan = PlanSave(name);
    if (plan.askName) {
        std::optional<std::string> chosen = askName(plan.proposed);
        if (!chosen) return std::nullopt;
        name = *chosen;
    }
    name = SaveFileName(name);
    SaveScript(name, lines);
    return name;
}

std::optional<std::string> SaveAsMenuClick(std::string_view scriptName, const std::vector<std::string>& lines,
                                           const AskSaveName& askName) {
    return SaveMenuClick(SaveAsProposal(scriptName), lines, askName);
}

DiscardDecision SaveBeforeDiscard(bool modified, std::string_view scriptName,
                                  const std::vector<std::string>& lines,
                                  const std::function<SaveAnswer()>& ask, const AskSaveName& askName,
                                  bool saveAs) {
    DiscardDecision decision;
    if (!modified) return decision;
    switch (ask()) {
        case SaveAnswer::No:
            break;
        case SaveAnswer::Cancel:
            decision.proceed = false;
            break;
        case SaveAnswer::Yes:
            decision.savedAs = saveAs ? SaveAsMenuClick(scriptName, lines, askName)
                                      : SaveMenuClick(scriptName, lines, askName);
            decision.proceed = decision.savedAs.has_value();
            break;
    }
    return decision;
}

std::string PasteQuestion() { return std::string(kPasteQuestionFirst) + "\r\n" + kPasteQuestionSecond; }

bool PasteAsks(const std::vector<std::string>& clips) { return !clips.empty(); }

bool PasteScript(std::vector<std::string>& script, const std::vector<std::string>& clips) {
    script.insert(script.end(), clips.begin(), clips.end());
    return !clips.empty();
}

std::vector<CheckRow> CheckScriptRows(const std::vector<std::string>& script, std::string_view scriptName) {
    const std::string folder =
        scriptName == kNewScriptName ? std::string() : FolderOf(std::string(scriptName));
    std::vector<CheckRow> rows;
    for (const Finding& f : CheckScript(script, folder))
        rows.push_back(
            {f.line, "Line " + std::to_string(f.line) + ": " + SeverityName(f.severity) + ": " + f.message});
    if (rows.empty()) rows.push_back({0, kCheckClean});
    return rows;
}

}  // namespace taskloom
