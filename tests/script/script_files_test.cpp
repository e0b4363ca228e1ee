// Runs every cases/*.pas file and checks it against the expectations written inside it:
//   // expect: <text>   the next line of printed output (lines end with PrintLn's CR LF)
//   // error: <text>    a message whose one-line form contains <text>, in order
// A file without "error:" lines must compile and run without messages.
#include "tlscript/engine.hpp"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace tl::script {
namespace {

struct Expectations {
    std::vector<std::string> output;
    std::vector<std::string> errors;
};

Expectations ReadExpectations(const std::string& text) {
    Expectations e;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        for (auto [tag, list] : {std::pair{"// expect: ", &e.output}, std::pair{"// error: ", &e.errors}}) {
            size_t at = line.find(tag);
            if (at != std::string::npos) {
                std::string value = line.substr(at + std::string(tag).size());
                if (!value.empty() && value.back() == '\r') {
                    value.pop_back();
                }
                list->push_back(value);
            }
        }
    }
    return e;
}

std::vector<std::string> SplitOutput(std::string_view output) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(output.substr(start));
            break;
        }
        lines.emplace_back(output.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> CaseFiles() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(TL_SCRIPT_CASES_DIR)) {
        if (entry.path().extension() == ".pas") {
            files.push_back(entry.path().filename().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

class ScriptFileTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ScriptFileTest, MeetsItsExpectations) {
    std::ifstream file(std::string(TL_SCRIPT_CASES_DIR) + "/" + GetParam(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    Expectations expected = ReadExpectations(text.str());
    ASSERT_FALSE(expected.output.empty() && expected.errors.empty()) << "a case must expect something";

    EngineSettings settings;
    settings.include_dirs = {TL_SCRIPT_CASES_DIR};
    Engine engine(settings);
    auto program = engine.Compile(text.str(), GetParam());
    if (!program->HasCompileErrors()) {
        program->Execute();
    }
    EXPECT_EQ(SplitOutput(program->Output()), expected.output);
    std::vector<std::string> messages;
    for (const Message& message : program->Messages()) {
        messages.push_back(message.OneLine());
    }
    ASSERT_EQ(messages.size(), expected.errors.size()) << program->Messages().ToText();
    for (size_t i = 0; i < messages.size(); ++i) {
        EXPECT_NE(messages[i].find(expected.errors[i]), std::string::npos) << messages[i];
    }
}

std::string CaseName(const ::testing::TestParamInfo<std::string>& param) {
    std::string name = param.param.substr(0, param.param.find('.'));
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptFileTest, ::testing::ValuesIn(CaseFiles()), CaseName);

} // namespace
} // namespace tl::script
