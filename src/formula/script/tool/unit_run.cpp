#include "unit_run.hpp"

#include "tlassembly/output_lines.hpp"
#include "tlassembly/run_script.hpp"
#include "tlassembly/script_check.hpp"
#include "tlcommon/iso_date_time.hpp"
#include "tldata/pass_names.hpp"
#include "tldata/passes.hpp"
#include "tlparams/method2_obj.hpp"
#include "tlscript/engine.hpp"
#include "tlscript/program.hpp"

#include <fmt/format.h>
#include <fstream>
#include <sstream>

namespace tl::tool {
namespace {

// Runs the program once in collection mode and reports what it reads that has no value.
void NoteUnset(ScriptDataModule& module, const UnitWorld& world, script::Program& program,
               std::ostream& err) {
    module.EnterCollectionMode();
    program.Execute();
    for (const std::string& note : world.Unset(module.UsedPowerElements(), module.UsedMomentaryElements(),
                                               module.UsedStateElements())) {
        err << "tlscript: note: " << note << '\n';
    }
    module.LeaveCollectionMode();
}

// Runs the program over the world's interval; false on execution errors (printed).
bool RunInterval(ScriptDataModule& module, const UnitWorld& world, script::Program& program,
                 std::ostream& err) {
    module.SetScriptContext(world.Context());
    const bool ran = program.Execute() && !program.HasExecutionErrors();
    module.ClearScriptContext();
    for (const auto& message : program.Messages()) {
        err << message.OneLine() << '\n';
    }
    return ran;
}

} // namespace

int TryFormula(ScriptDataModule& module, const UnitWorld& world, std::string_view common_script,
               std::string_view formula, std::ostream& out, std::ostream& err) {
    // The dialog's check first: its messages point into the formula as the operator wrote it.
    std::vector<script::Message> messages;
    if (!CheckScriptMessages(module.Engine(), common_script, formula, true, messages)) {
        for (const auto& message : messages) {
            err << message.OneLine() << '\n';
        }
        return 1;
    }
    TCalcObjects objects;
    auto record = std::make_unique<TMethod2Obj>();
    record->Formula = std::string(formula);
    objects.Add({0, 0, 0}, std::move(record));
    auto program = module.Engine().Compile(BuildRunScript(common_script, objects));
    if (program->HasCompileErrors()) {
        for (const auto& message : program->Messages()) {
            err << message.OneLine() << '\n';
        }
        return 1;
    }
    NoteUnset(module, world, *program, err);
    out << fmt::format("T = {} h ({} interval ending {})\n", IntervalHours(world.Pass(), world.Time()),
                       PassName(world.Pass()), FormatIsoDateTime(world.Time()));
    if (!RunInterval(module, world, *program, err)) {
        return 2;
    }
    std::vector<std::string_view> lines;
    SplitOutputLines(program->Output(), lines);
    if (lines.size() != 2) {
        err << fmt::format("tlscript: the run printed {} lines, not the two result lines (does the common "
                           "script print?):\n{}\n",
                           lines.size(), program->Output());
        return 2;
    }
    int status = 0;
    for (int r = 0; r < 2; ++r) {
        const OutputValue value = ParseOutputLine(r, lines[static_cast<size_t>(r)]);
        if (!value.error.empty() || !value.found) {
            out << fmt::format("Value{} = error: {}\n", r, value.found ? value.error : "no result line");
            status = 2;
        } else {
            out << fmt::format("Value{} = {}\n", r, value.value);
        }
    }
    return status;
}

int RunWithUnit(ScriptDataModule& module, const UnitWorld& world, const std::vector<std::string>& files,
                std::ostream& out, std::ostream& err) {
    int status = 0;
    for (const std::string& path : files) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        auto program = module.Engine().Compile(text.str(), path);
        if (program->HasCompileErrors()) {
            for (const auto& message : program->Messages()) {
                err << message.OneLine() << '\n';
            }
            status = std::max(status, 1);
            continue;
        }
        NoteUnset(module, world, *program, err);
        if (!RunInterval(module, world, *program, err)) {
            status = 2;
        }
        out << program->Output();
        out.flush();
    }
    return status;
}

} // namespace tl::tool
