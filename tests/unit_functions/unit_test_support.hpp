// A data module with one extra test function, Keep(x), that hands every value a script computes
// back to the test exactly, and rows built by hand for the data lists.
#pragma once

#include "tldata/data_list.hpp"
#include "tlscript/program.hpp"
#include "tlunit/script_data_module.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tl::test {

class UnitTest : public ::testing::Test {
protected:
    UnitTest();

    // Compiles the script (failing the test on compile errors) and runs it once; the values
    // passed to Keep are in `kept`.
    std::unique_ptr<script::Program> Run(std::string_view text);
    // The value of one expression in the current context.
    double Eval(std::string_view expression);

    // The context of an interval of pass `index` ending at `time`, reading `data` and `momentary`.
    void SetInterval(int index, DateTime time = 0);

public:
    ScriptDataModule module;
    TDataList data;
    TDataList momentary;
    std::vector<double> kept;
};

// Registers Keep(x) with the module's engine: every value passed lands in `kept`.
void RegisterKeep(ScriptDataModule& module, std::vector<double>* kept);

TDataRow Row(ElementAddress element, double value, DateTime stamp = 0, int32_t season = 0);

} // namespace tl::test
