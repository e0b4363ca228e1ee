#include "../dbd/test_support.hpp"
#include "tlplatform/cfgsvc.h"
#include "tlplatform/db_connection.hpp"
#include "tlplatform/dbd.h"
#include "tltest/test_database.hpp"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr const char* kTask = "\\Scripts\\Losses1\\Object\\";
constexpr const char* kElements = "\\Scripts\\Losses1\\Devices1\\";

// The keys of a section as listed. The callback reads each value first: the service may be called
// from it, and the key handed over must survive that call.
std::vector<std::string> Keys(const char* section) {
    struct Listing {
        const char* section;
        std::vector<std::string> keys;
    } listing{section, {}};
    const int32_t count = SvcReadSection(
        section,
        [](void* context, const char* key) {
            auto* l = static_cast<Listing*>(context);
            EXPECT_STRNE(SvcReadString(l->section, key, "\x01"), "\x01") << key;
            l->keys.push_back(key);
        },
        &listing);
    EXPECT_EQ(count, static_cast<int32_t>(listing.keys.size()));
    return listing.keys;
}

// On the test database: SQLite, or PostgreSQL under scripts/with-postgres.sh.
class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        auto connection = tl::db::Connection::Open(database_.Uri());
        tl::db::InitSchema(*connection);
        tl::db::SetProcessConnection(std::move(connection));
        SvcSetStorageName("TKEY_SCHEDULE");
    }
    void TearDown() override { DBCloseDatabase(); }

    tl::db::test::TempDir dir_;
    tl::testing::TestDatabase database_{dir_.File("settings.db")};
};

TEST_F(Settings, ReadsGiveTheValueWrittenConvertedOrTheDefault) {
    const char* script = "begin\r\n  Result := W(1, 0, 5);\r\nend;";
    ASSERT_TRUE(SvcWriteString(kTask, "CommonScript", script));
    ASSERT_TRUE(SvcWriteInteger(kTask, "DeepBase", 48));
    ASSERT_TRUE(SvcWriteInteger(kTask, "DeepBase", -2147483647 - 1)); // an overwrite
    ASSERT_TRUE(SvcWriteBool(kTask, "UpdateFormat0", false));
    ASSERT_TRUE(SvcWriteDateTime(kTask, "BeginDateTime", 41944.0 + 1.0 / 3.0));
    ASSERT_TRUE(SvcWriteString(kTask, "ParNumber", "12"));
    ASSERT_TRUE(SvcWriteString(kTask, "Name", "Линия"));
    EXPECT_STREQ(SvcReadString(kTask, "CommonScript", ""), script);
    EXPECT_EQ(SvcReadInteger(kTask, "DeepBase", 0), -2147483647 - 1);
    EXPECT_FALSE(SvcReadBool(kTask, "UpdateFormat0", true));
    EXPECT_EQ(SvcReadDateTime(kTask, "BeginDateTime", 0.0), 41944.0 + 1.0 / 3.0);
    // another type, converted (the conversions themselves are the value tests' concern)
    EXPECT_STREQ(SvcReadString(kTask, "DeepBase", ""), "-2147483648");
    EXPECT_EQ(SvcReadInteger(kTask, "ParNumber", 0), 12);
    // missing or not convertible: the default
    EXPECT_STREQ(SvcReadString(kTask, "Missing", "default"), "default");
    EXPECT_STREQ(SvcReadString(kTask, "Missing", nullptr), "");
    EXPECT_EQ(SvcReadInteger("\\Other\\", "Name", 7), 7); // the key lives in another section
    EXPECT_EQ(SvcReadInteger(kTask, "Name", 7), 7);
    EXPECT_EQ(SvcReadInteger(kTask, nullptr, 7), 7);
    EXPECT_EQ(SvcReadInteger(nullptr, "Name", 7), 7);
    EXPECT_FALSE(SvcValueExists(kTask, "Missing"));
}

TEST_F(Settings, NamesCompareWithoutRegardToCaseAndKeepTheirSpelling) {
    const char* section = "\\Scripts\\Расчёт потерь\\Object\\";
    ASSERT_TRUE(SvcWriteInteger(section, "DeepBase", 24));
    EXPECT_EQ(SvcReadInteger("\\SCRIPTS\\РАСЧЁТ ПОТЕРЬ\\object\\", "DEEPBASE", 0), 24);
    ASSERT_TRUE(SvcWriteInteger(section, "deepbase", 48)); // the same key
    EXPECT_EQ(Keys(section), std::vector<std::string>{"DeepBase"});
    EXPECT_EQ(SvcReadInteger(section, "DeepBase", 0), 48);
    SvcSetStorageName("tkey_schedule");
    EXPECT_EQ(SvcReadInteger(section, "DeepBase", 0), 48);
}

TEST_F(Settings, ListsKeysInTheOrderTheyWereFirstWritten) {
    for (const char* key : {"300.0.1", "100.0.5", "200.0.2"}) {
        ASSERT_TRUE(SvcWriteString(kElements, key, "x"));
    }
    ASSERT_TRUE(SvcWriteString(kElements, "100.0.5", "rewritten")); // keeps its place
    ASSERT_TRUE(SvcWriteString(kTask, "Method", "1"));              // another section
    EXPECT_EQ(Keys(kElements), (std::vector<std::string>{"300.0.1", "100.0.5", "200.0.2"}));
    ASSERT_TRUE(SvcDeleteKey(kElements, "300.0.1"));
    ASSERT_TRUE(SvcWriteString(kElements, "300.0.1", "again")); // a new key goes last
    EXPECT_EQ(Keys(kElements), (std::vector<std::string>{"100.0.5", "200.0.2", "300.0.1"}));
    EXPECT_EQ(SvcReadSection(kElements, nullptr, nullptr), 3);
    EXPECT_EQ(SvcReadSection("\\Empty\\", nullptr, nullptr), 0);
}

// A listing reads the values with the keys, and the reads of listed keys that follow may take
// them from there. What another connection changed since shows once the listed value is taken or
// dropped: by the key read again, a write, or a read or listing of another section.
TEST_F(Settings, ReadsAfterAListingSeeLaterChangesOnceTheListedValueIsTakenOrDropped) {
    const auto other = tl::db::Connection::Open(database_.Uri());
    const struct {
        const char* between;
        std::function<void()> call;
        const char* read;
    } cases[] = {
        {"the key read", [] { SvcReadString(kElements, "100.0.1", ""); }, "changed"},
        {"a write", [] { SvcWriteInteger(kTask, "Method", 1); }, "changed"},
        {"the key written", [] { SvcWriteString(kElements, "100.0.1", "written"); }, "written"},
        {"a read elsewhere", [] { SvcReadInteger(kTask, "Method", 0); }, "changed"},
        {"a listing elsewhere", [] { SvcReadSection(kTask, nullptr, nullptr); }, "changed"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(SvcWriteString(kElements, "100.0.1", "listed"));
        ASSERT_EQ(SvcReadSection(kElements, nullptr, nullptr), 1);
        other->Execute("update settings set value = 'changed' where key_fold = '100.0.1'");
        c.call();
        EXPECT_STREQ(SvcReadString(kElements, "100.0.1", ""), c.read) << c.between;
    }
}

TEST_F(Settings, ListsTheSectionsBelowASectionOnceEach) {
    for (const char* section :
         {"\\Scripts\\Losses1\\Object\\", "\\Scripts\\Losses1\\Devices1\\", "\\SCRIPTS\\Расчёт\\Object\\",
          "\\Scripts\\Alpha\\Object\\", "\\Other\\x\\", "\\Scripts\\"}) {
        ASSERT_TRUE(SvcWriteInteger(section, "k", 1));
    }
    SvcSetStorageName("another storage");
    ASSERT_TRUE(SvcWriteInteger("\\Scripts\\Elsewhere\\Object\\", "k", 1));
    SvcSetStorageName("TKEY_SCHEDULE");
    std::vector<std::string> names;
    const int32_t count = SvcReadSections(
        "\\scripts\\",
        [](void* context, const char* name) {
            static_cast<std::vector<std::string>*>(context)->push_back(name);
        },
        &names);
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "Losses1", "Расчёт"}));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(SvcReadSections("\\Scripts\\Losses1\\", nullptr, nullptr), 2);
    EXPECT_EQ(SvcReadSections("\\Nothing\\", nullptr, nullptr), 0);
}

TEST_F(Settings, RenameKeepsValueAndPlaceAndNeverLosesAValue) {
    ASSERT_TRUE(SvcWriteString(kElements, "100.5", "five"));
    ASSERT_TRUE(SvcWriteString(kElements, "100.0.7", "seven"));
    ASSERT_TRUE(SvcWriteString(kElements, "100.8", "eight"));

    EXPECT_TRUE(SvcRenameParam(kElements, "100.5", "100.0.5", false));
    EXPECT_EQ(Keys(kElements), (std::vector<std::string>{"100.0.5", "100.0.7", "100.8"}));
    EXPECT_STREQ(SvcReadString(kElements, "100.0.5", ""), "five");
    EXPECT_FALSE(SvcValueExists(kElements, "100.5"));

    struct Case {
        const char* from;
        const char* to;
        bool renamed;
    };
    const Case cases[] = {
        {"100.8", "100.0.7", false}, // taken by another key: both stay
        {"100.9", "100.0.9", false}, // nothing to rename
        {"100.8", "", false},        {"100.8", "100.0.8", true}, {"100.0.8", "100.0.8", true}, // to itself
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SvcRenameParam(kElements, c.from, c.to, false), c.renamed) << c.from << " -> " << c.to;
    }
    EXPECT_STREQ(SvcReadString(kElements, "100.0.7", ""), "seven");
    EXPECT_STREQ(SvcReadString(kElements, "100.0.8", ""), "eight");
    EXPECT_TRUE(SvcRenameParam(kElements, "100.0.8", "Element", false));
    EXPECT_TRUE(SvcRenameParam(kElements, "ELEMENT", "element", false)); // only the spelling changes
    EXPECT_EQ(Keys(kElements), (std::vector<std::string>{"100.0.5", "100.0.7", "element"}));
}

TEST_F(Settings, EraseAndDeleteTouchOnlyWhatTheyName) {
    ASSERT_TRUE(SvcWriteInteger(kTask, "DeepBase", 1));
    ASSERT_TRUE(SvcWriteInteger(kTask, "Method", 1));
    ASSERT_TRUE(SvcWriteString(kElements, "100.0.5", "x"));
    SvcSetStorageName("OTHER");
    ASSERT_TRUE(SvcWriteInteger(kTask, "DeepBase", 2));
    SvcSetStorageName("TKEY_SCHEDULE");

    EXPECT_TRUE(SvcDeleteKey(kTask, "Method"));
    EXPECT_TRUE(SvcDeleteKey(kTask, "Method")); // already gone: still done
    EXPECT_EQ(Keys(kTask), std::vector<std::string>{"DeepBase"});
    EXPECT_TRUE(SvcEraseSection(kTask));
    EXPECT_TRUE(Keys(kTask).empty());
    EXPECT_TRUE(SvcValueExists(kElements, "100.0.5"));
    SvcSetStorageName("OTHER");
    EXPECT_EQ(SvcReadInteger(kTask, "DeepBase", 0), 2);
}

TEST_F(Settings, StoragesAreKeptApartAndTheCurrentOneIsPerThread) {
    ASSERT_TRUE(SvcWriteInteger(kTask, "DeepBase", 24));
    std::thread other([] {
        EXPECT_EQ(SvcReadInteger(kTask, "DeepBase", -1), -1); // no storage chosen on this thread yet
        SvcSetStorageName("ANOTHER");
        EXPECT_TRUE(SvcWriteInteger(kTask, "DeepBase", 48));
    });
    other.join();
    EXPECT_EQ(SvcReadInteger(kTask, "DeepBase", 0), 24);
    SvcSetStorageName("ANOTHER");
    EXPECT_EQ(SvcReadInteger(kTask, "DeepBase", 0), 48);
}

TEST(SettingsWithoutDatabase, ReadsGiveDefaultsAndWritesFail) {
    for (const bool without_table : {false, true}) {
        if (without_table) {
            tl::db::SetProcessConnection(tl::db::Connection::Open(":memory:"));
        }
        SvcSetStorageName("TKEY_SCHEDULE");
        EXPECT_STREQ(SvcReadString(kTask, "CommonScript", "none"), "none");
        EXPECT_EQ(SvcReadInteger(kTask, "DeepBase", 5), 5);
        EXPECT_EQ(SvcReadSection(kTask, nullptr, nullptr), 0);
        EXPECT_FALSE(SvcValueExists(kTask, "DeepBase"));
        EXPECT_FALSE(SvcWriteInteger(kTask, "DeepBase", 1));
        EXPECT_FALSE(SvcDeleteKey(kTask, "DeepBase"));
        EXPECT_FALSE(SvcEraseSection(kTask));
        EXPECT_FALSE(SvcRenameParam(kTask, "a", "b", false));
        DBCloseDatabase();
    }
}

} // namespace
