// The Commands page's typed fields: any <Name>, <Parameter / Value>, count,
// script lines and selections compose without fault, and what is added
// keeps the page's promises: a name-carrying command carries the name
// trimmed, a label line or loop only names a label found as a whole line,
// and a refused command says why and sends the user somewhere.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "composer/model/command_builder.h"
#include "composer/model/command_tree.h"
#include "engine/text.h"
#include "fuzz/fuzz_support.h"

using namespace taskloom;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::size_t item = in.ConsumeIntegralInRange<std::size_t>(0, CommandTree().size() - 1);
    CommandFields fields;
    fields.name = in.ConsumeRandomLengthString(64);
    fields.value = in.ConsumeRandomLengthString(64);
    fields.count = in.ConsumeIntegral<int>();
    CommandSources s;
    if (in.ConsumeBool()) s.windowTitle = in.ConsumeRandomLengthString(32);
    s.menuItemCount = in.ConsumeIntegralInRange<std::size_t>(0, 3);
    if (in.ConsumeBool()) s.menuPath = in.ConsumeRandomLengthString(32);
    s.thirdPageCaption = in.ConsumeBool() ? "Controls" : "DOS Screen";
    for (int n = in.ConsumeIntegralInRange<int>(0, 4); n > 0; --n)
        s.controlLines.push_back(in.ConsumeRandomLengthString(16));
    s.caretLine = in.ConsumeIntegral<int>();
    s.caretColumn = in.ConsumeIntegral<int>();
    s.selectionLength = in.ConsumeIntegral<int>();
    s.haveTargetWindow = in.ConsumeBool();
    std::vector<std::string> script;
    while (in.remaining_bytes() > 0) script.push_back(in.ConsumeRandomLengthString(24));

    fuzz::NotThrowing([&] {
        const CommandOutcome out = AddCommandClick(item, fields, script, s);
        const std::optional<std::string> keyword = CommandKeyword(item);
        FUZZ_CHECK((out.kind == CommandOutcome::Kind::Nothing) == !keyword);
        if (out.kind == CommandOutcome::Kind::Refused) {
            FUZZ_CHECK(!out.message.empty());
            FUZZ_CHECK(out.focus != CommandFocus::None);
        }
        if (out.kind != CommandOutcome::Kind::Add) return;
        const std::string name = TrimBlanks(fields.name);
        if (*keyword == "{:LabelDefine") {
            FUZZ_CHECK(out.scriptLine == "{." + name && !name.empty());
            FUZZ_CHECK(!HasLabel(script, name) && !Contains(name, " ") && !Contains(name, "}"));
            return;
        }
        if (*keyword == "{:LabelGoto") {
            FUZZ_CHECK(out.scriptLine == "{:Goto " + name && HasLabel(script, name));
            return;
        }
        FUZZ_CHECK(StartsWith(out.scriptLine, *keyword));
        const bool loop = StartsWith(*keyword, "{:Loop");
        if (loop) FUZZ_CHECK(HasLabel(script, name));
        if (loop || *keyword == "{:Run" || *keyword == "{:Load" || *keyword == "{:ClipsSave")
            FUZZ_CHECK(!name.empty() && StartsWith(out.scriptLine, *keyword + " " + name));
    });
    return 0;
}
