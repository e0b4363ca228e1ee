// The inputs of the settings JSON fuzzer and of the coefficient record fuzzer kept as regressions:
// each goes through the fuzzer's own property check, which must hold, and ends as stated below
// (refused with a text containing the fragment, or accepted when the fragment is empty).
#include "coefficient_record_property.hpp"
#include "settings_json_property.hpp"
#include "tlcommon/format_settings.hpp"
#include "tlplatform/dbd.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>

namespace tl::fuzz {
namespace {

namespace fs = std::filesystem;

// Every file of the two directories has its line here, so that a new input comes with its outcome.
const std::map<std::string, std::string>& ExpectedOutcomes() {
    static const std::map<std::string, std::string> table{
        // Settings documents.
        {"docs_example.json", ""},
        {"required_key_missing.json", "task: the required key \"DeepBase\" is missing"},
        {"nul_in_common_script.json", "task.CommonScript: holds a NUL character"},
        // A number beyond a double once escaped the parse as nlohmann's out_of_range.
        {"number_overflow.json", "malformed JSON: number overflow parsing '1e9999'"},
        // Coefficient records, the same outcome with either decimal separator.
        {"twenty_five_fields.txt", ""},
        {"typed_halves.txt", ""},
        {"twenty_three_fields.txt", "Число полей 23, ожидается 24 или 25"},
    };
    return table;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class PropertyFuzzRegressionTest : public ::testing::TestWithParam<fs::path> {
protected:
    void TearDown() override {
        ResetSystemFormat();
        DBCloseDatabase();
    }
};

TEST_P(PropertyFuzzRegressionTest, HoldsItsPropertiesAndEndsAsStated) {
    const fs::path& path = GetParam();
    const auto found = ExpectedOutcomes().find(path.filename().string());
    ASSERT_NE(found, ExpectedOutcomes().end()) << path << " has no stated outcome in this test";
    const std::string input = ReadFile(path);
    std::vector<std::string> outcomes;
    try {
        if (path.extension() == ".json") {
            outcomes.push_back(CheckSettingsJsonImport(input));
        } else {
            outcomes.push_back(CheckCoefficientRecord(input, '.'));
            outcomes.push_back(CheckCoefficientRecord(input, ','));
        }
    } catch (const std::logic_error& violation) {
        FAIL() << violation.what();
    }
    for (const std::string& outcome : outcomes) {
        if (found->second.empty()) {
            EXPECT_EQ(outcome, "");
        } else {
            EXPECT_NE(outcome.find(found->second), std::string::npos) << outcome;
        }
    }
}

std::vector<fs::path> RegressionFiles() {
    std::vector<fs::path> paths;
    for (const char* dir : {TL_SETTINGS_FUZZ_REGRESSIONS_DIR, TL_RECORD_FUZZ_REGRESSIONS_DIR}) {
        for (const auto& entry : fs::directory_iterator(dir)) {
            if (entry.is_regular_file()) {
                paths.push_back(entry.path());
            }
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

INSTANTIATE_TEST_SUITE_P(Inputs, PropertyFuzzRegressionTest, ::testing::ValuesIn(RegressionFiles()),
                         [](const ::testing::TestParamInfo<fs::path>& param) {
                             std::string name = param.param.filename().string();
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

TEST(PropertyFuzzRegressionFilesTest, EveryStatedOutcomeHasItsFile) {
    for (const auto& [name, expected] : ExpectedOutcomes()) {
        EXPECT_TRUE(fs::is_regular_file(fs::path(TL_SETTINGS_FUZZ_REGRESSIONS_DIR) / name) ||
                    fs::is_regular_file(fs::path(TL_RECORD_FUZZ_REGRESSIONS_DIR) / name))
            << name;
    }
}

} // namespace
} // namespace tl::fuzz
