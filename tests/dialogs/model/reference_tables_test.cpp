// Reference table files: a header that names the source is required, and the first directory
// holding the file wins.
#include "driver_test_support.hpp"
#include "tldialogs/reference_tables.hpp"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace tl::dialogs {
namespace {

TEST(ReferenceTablesTest, FilesMustNameTheirSource) {
    const ReferenceTable table = ParseReferenceTable("\xEF\xBB\xBF# source: Справочник, табл. 1\r\n# title: "
                                                     "Корона\r\nU, кВ; Потери\r\n110; 1,5\r\n\r\n220;2\n");
    EXPECT_EQ(table.source, "Справочник, табл. 1");
    EXPECT_EQ(table.title, "Корона");
    EXPECT_EQ(table.columns, (std::vector<std::string>{"U, кВ", "Потери"}));
    EXPECT_EQ(table.rows, (std::vector<std::vector<std::string>>{{"110", "1,5"}, {"220", "2"}}));
    for (const char* text : {"U;W\n110;1\n", "# source: x\n", "# title: no source\nU;W\n"}) {
        EXPECT_THROW(ParseReferenceTable(text), ReferenceTableError) << text;
    }
}

TEST(ReferenceTablesTest, TheConfiguredDirectoryComesFirst) {
    const test::TempDir base;
    const std::filesystem::path configured = std::filesystem::path(base.Path()) / "configured";
    const std::filesystem::path beside = std::filesystem::path(base.Path()) / "lib";
    std::filesystem::create_directories(configured);
    std::filesystem::create_directories(beside / "reference");
    std::ofstream(beside / "reference" / "corona.csv") << "# source: s\nU\n";
    std::ofstream(configured / "regions.csv") << "# source: s\nU\n";
    setenv("TLOSSES_REFERENCE_DIR", configured.c_str(), 1);
    const auto directories = ReferenceDirectories(beside);
    EXPECT_EQ(directories.front(), configured);
    EXPECT_EQ(FindReferenceTable(ReferenceTableId::kCorona, directories),
              beside / "reference" / "corona.csv");
    EXPECT_EQ(FindReferenceTable(ReferenceTableId::kRegions, directories), configured / "regions.csv");
    EXPECT_EQ(FindReferenceTable(ReferenceTableId::kInsulators, directories), std::nullopt);
    unsetenv("TLOSSES_REFERENCE_DIR");
}

} // namespace
} // namespace tl::dialogs
