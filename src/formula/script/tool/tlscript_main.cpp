// tlscript: compiles and runs script files, printing their output to stdout and their
// messages to stderr. Exit status 0: all ran cleanly; 1: compile errors; 2: execution errors.
#include "tlosses/version.h"
#include "tlscript/engine.hpp"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv) {
    CLI::App app{"Compiles and runs formula scripts", "tlscript"};
    app.set_version_flag("--version", "tlscript " TLOSSES_VERSION);
    std::string separator = ".";
    std::vector<std::string> include_dirs;
    std::vector<std::string> files;
    int64_t time_limit_ms = 0;
    app.add_option("--decimal-separator", separator, "Decimal separator of printed Floats")
        ->check(CLI::IsMember({".", ","}));
    app.add_option("--include-dir", include_dirs, "Directory that {$I file} reads from");
    app.add_option("--time-limit", time_limit_ms, "Execution time limit in milliseconds (0: none)");
    app.add_option("files", files, "Script files (UTF-8)")->required()->check(CLI::ExistingFile);
    CLI11_PARSE(app, argc, argv);

    tl::script::EngineSettings settings;
    settings.decimal_separator = separator[0];
    settings.include_dirs = include_dirs;
    settings.time_limit_ms = time_limit_ms;
    tl::script::Engine engine(settings);

    int status = 0;
    for (const std::string& path : files) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        auto program = engine.Compile(text.str(), path);
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
