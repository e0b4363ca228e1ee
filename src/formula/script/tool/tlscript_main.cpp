// tlscript: compiles and runs script files, printing their output to stdout and their
// messages to stderr; with the function unit (--unit, or any of its options) it tries a formula the
// way a task runs it, on values given on the command line or in a file.
// Exit status 0: all ran cleanly; 1: compile errors; 2: execution errors; 3: bad values.
#include "tldata/pass_names.hpp"
#include "tlosses/version.h"
#include "tlscript/engine.hpp"
#include "tlunit/script_data_module.hpp"
#include "unit_run.hpp"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

int RunPlain(const std::vector<std::string>& files, const tl::script::EngineSettings& settings) {
    tl::script::Engine engine(settings);
    int status = 0;
    for (const std::string& path : files) {
        auto program = engine.Compile(ReadText(path), path);
        if (!program->HasCompileErrors()) {
            program->Execute();
            std::cout << program->Output();
            std::cout.flush();
        }
        for (const auto& message : program->Messages()) {
            std::cerr << message.OneLine() << '\n';
        }
        if (program->HasCompileErrors()) {
            status = std::max(status, 1);
        } else if (program->HasExecutionErrors()) {
            status = 2;
        }
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"Compiles and runs formula scripts; with the function unit, tries a formula on given values",
                 "tlscript"};
    app.set_version_flag("--version", "tlscript " TLOSSES_VERSION);
    app.footer(
        "Values for the function unit, one a line in a --values file or one per --set:\n"
        "  interval = 30min              the interval kind: " +
        std::string(tl::PassNameList()) +
        "\n"
        "  time = 2025-01-10 12:00       the end of the interval (default: today 00:00); T follows from "
        "both\n"
        "  W2(100, 0, 5) = 50            an energy, P(100, 5) = 100 a power, of the interval\n"
        "  Ua(26, 0, 1) = 231.5          a momentary value (any of the named ones, or M(26, 0, 1, 13))\n"
        "  MO(7) = 3                     the state of a measurement object\n"
        "  DI(12, 1) = 1                 a discrete input: 1 on, 0 off\n"
        "Example: tlscript --set 'W2(17, 0, 3) = 2500' -e 'T2_LossesW_A(14, 58, 10000, 0.9, 0, W2(17, 0, "
        "3))'");
    std::string separator = ".";
    std::vector<std::string> include_dirs;
    std::vector<std::string> files;
    int64_t time_limit_ms = 0;
    bool unit = false;
    std::string formula;
    std::string formula_file;
    std::string common_file;
    std::vector<std::string> value_files;
    std::vector<std::string> sets;
    std::string interval;
    std::string at;
    app.add_option("--decimal-separator", separator, "Decimal separator of printed Floats (without the unit)")
        ->check(CLI::IsMember({".", ","}));
    // Options given several times take one value each, so that they never swallow the files.
    const auto one_each = [](CLI::Option* option) {
        option->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    };
    one_each(app.add_option("--include-dir", include_dirs, "Directory that {$I file} reads from"));
    app.add_option("--time-limit", time_limit_ms, "Execution time limit in milliseconds (0: none)");
    app.add_flag("--unit", unit,
                 "Register the function unit MyUnit (W, P, W2, P2, M, T, MO, DI, the loss formulas)");
    app.add_option("-e,--formula", formula, "A task's element formula to try (implies --unit)");
    app.add_option("--formula-file", formula_file, "The formula from a file (implies --unit)")
        ->check(CLI::ExistingFile);
    app.add_option("--common", common_file, "The task's common script, from a file")
        ->check(CLI::ExistingFile);
    app.add_option("--values", value_files, "Values for the unit, one a line (see below)")
        ->check(CLI::ExistingFile);
    app.add_option("--set", sets, "One value for the unit, as in a --values file");
    app.add_option("--interval", interval, "The interval kind (as \"interval = ...\")");
    app.add_option("--at", at, "The end of the interval (as \"time = ...\")");
    app.add_option("files", files, "Script files (UTF-8)")->check(CLI::ExistingFile);
    CLI11_PARSE(app, argc, argv);

    const bool try_formula = !formula.empty() || !formula_file.empty();
    unit = unit || try_formula || !value_files.empty() || !sets.empty() || !interval.empty() || !at.empty();
    if (!unit) {
        if (files.empty()) {
            std::cerr << "tlscript: give script files, or a formula with -e\n" << app.help();
            return 2;
        }
        tl::script::EngineSettings settings;
        settings.decimal_separator = separator[0];
        settings.include_dirs = include_dirs;
        settings.time_limit_ms = time_limit_ms;
        return RunPlain(files, settings);
    }
    if (try_formula == !files.empty()) {
        std::cerr << "tlscript: with the unit, give either a formula (-e, --formula-file) or script files\n";
        return 2;
    }
    tl::tool::UnitInputs inputs;
    std::unique_ptr<tl::ScriptDataModule> module;
    std::unique_ptr<tl::tool::UnitWorld> world;
    try {
        for (const std::string& path : value_files) {
            tl::tool::ReadUnitLines(ReadText(path), path, inputs);
        }
        for (const std::string& set : sets) {
            tl::tool::ReadUnitLine(set, "--set", inputs);
        }
        if (!interval.empty()) {
            tl::tool::ReadUnitLine("interval = " + interval, "--interval", inputs);
        }
        if (!at.empty()) {
            tl::tool::ReadUnitLine("time = " + at, "--at", inputs);
        }
        module = std::make_unique<tl::ScriptDataModule>(include_dirs);
        world = std::make_unique<tl::tool::UnitWorld>(*module, inputs);
    } catch (const tl::tool::UnitValueError& e) {
        std::cerr << "tlscript: " << e.what() << '\n';
        return 3;
    }
    if (try_formula) {
        const std::string text = formula.empty() ? ReadText(formula_file) : formula;
        const std::string common = common_file.empty() ? std::string() : ReadText(common_file);
        return tl::tool::TryFormula(*module, *world, common, text, std::cout, std::cerr);
    }
    return tl::tool::RunWithUnit(*module, *world, files, std::cout, std::cerr);
}
