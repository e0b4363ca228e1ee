// Every ```pascal example of the language reference must compile, so that the document stays
// true to the engine.
#include "tlscript/call_frame.hpp"
#include "tlscript/engine.hpp"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace tl::script {
namespace {

void Zero(CallFrame&) {}

TEST(DocsExamplesTest, EveryPascalBlockCompiles) {
    std::ifstream file(TL_SCRIPT_LANGUAGE_DOC);
    ASSERT_TRUE(file) << TL_SCRIPT_LANGUAGE_DOC;
    Engine engine;
    // The examples may call the driver's energy functions.
    for (const char* name : {"W", "P"}) {
        engine.RegisterFunction(
            {"MyUnit", name, {{ValueType::Integer}, {ValueType::Integer}}, ValueType::Float, Zero});
    }
    engine.RegisterFunction({"MyUnit", "T", {}, ValueType::Float, Zero});
    std::string line;
    std::string block;
    bool inside = false;
    int line_number = 0;
    int block_start = 0;
    int blocks = 0;
    while (std::getline(file, line)) {
        ++line_number;
        if (!inside && line.rfind("```pascal", 0) == 0) {
            inside = true;
            block.clear();
            block_start = line_number;
        } else if (inside && line.rfind("```", 0) == 0) {
            inside = false;
            ++blocks;
            auto program = engine.Compile(block);
            EXPECT_FALSE(program->HasCompileErrors()) << "example at line " << block_start << ":\n"
                                                      << program->Messages().ToText();
        } else if (inside) {
            block += line + "\n";
        }
    }
    EXPECT_GT(blocks, 10);
}

} // namespace
} // namespace tl::script
