#include "driver_test_support.hpp"
#include "tlcommon/date_time.hpp"
#include "tldata/element_state_log.hpp"
#include "tldata/log_file.hpp"
#include "tldriver/run_log.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl::test {
namespace {

TEST(IncompleteElementsTest, ElementsAndTheirLinesAreOrderedAsTextAndKeptOnceWithoutRegardToCase) {
    IncompleteElements elements;
    const DateTime nov30 = EncodeDateTime({2014, 11, 30, 23, 30, 0, 0});
    const DateTime dec01 = EncodeDateTime({2014, 12, 1, 0, 0, 0, 0});
    elements.Add(100, 0, 5, nov30, "нет значения");
    elements.Add(100, 0, 10, nov30, "нет значения");
    elements.Add(100, 0, 5, dec01, "нет значения");
    elements.Add(100, 0, 5, dec01, "нет значения");
    elements.Add(-3, 98, 1, dec01, "Ошибка Деления");
    elements.Add(-3, 98, 1, dec01, "ошибка деления");
    RunLog log;
    const std::string addresses = elements.CloseInto(log);
    EXPECT_EQ(addresses, "-3.98.1, 100.0.10, 100.0.5");
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{
                               "",
                               "----------------Не рассчитанные объекты-------------------",
                               "Элемент: -3.98.1: ",
                               "\t\t01.12.2014 00:00:00 | Ошибка: Ошибка Деления",
                               "Элемент: 100.0.10: ",
                               "\t\t30.11.2014 23:30:00 | Ошибка: нет значения",
                               "Элемент: 100.0.5: ",
                               "\t\t01.12.2014 00:00:00 | Ошибка: нет значения",
                               "\t\t30.11.2014 23:30:00 | Ошибка: нет значения",
                           }));
}

TEST(LogFileTest, LinesAreWrittenInWindows1251WithCrLfAndNoBom) {
    TempDir dir;
    const std::string path = dir.Path() + "tlosses.log";
    ASSERT_TRUE(WriteLogFile(path, {"Элемент: 1.0.2: ", "", "ascii", "\tЁё"}));
    EXPECT_EQ(ReadFileBytes(path), "\xDD\xEB\xE5\xEC\xE5\xED\xF2: 1.0.2: \r\n"
                                   "\r\n"
                                   "ascii\r\n"
                                   "\t\xA8\xB8\r\n");
    // Each write replaces the file.
    ASSERT_TRUE(WriteLogFile(path, {"x"}));
    EXPECT_EQ(ReadFileBytes(path), "x\r\n");
    ASSERT_TRUE(WriteLogFile(path, {}));
    EXPECT_EQ(ReadFileBytes(path), "");
    EXPECT_FALSE(WriteLogFile(dir.Path() + "no/such/dir/tlosses.log", {"x"}));
}

TEST(ElementStateLogTest, FileNameReplacesTheModulesExtension) {
    struct Case {
        const char* module;
        const char* log;
    } const cases[] = {
        {"/opt/host/libtlosses.so", "/opt/host/libtlosses_modi.log"},
        {"/opt/host/tlosses", "/opt/host/tlosses_modi.log"},
        {"/opt/host.d/v1.2/tlosses", "/opt/host.d/v1.2/tlosses_modi.log"},
        {"/opt/host.d/lib.tlosses.so", "/opt/host.d/lib.tlosses_modi.log"},
        {"libtlosses.so", "libtlosses_modi.log"},
        {"/opt/.hidden", "/opt/_modi.log"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ModiLogFileName(c.module), c.log) << c.module;
    }
}

TEST(ElementStateLogTest, SavesEveryLineSinceLoadWhenAsked) {
    TempDir dir;
    ElementStateLog log(dir.Path() + "m_modi.log");
    log.ModiLog("состояние 1", false);
    EXPECT_FALSE(FileExists(log.FileName()));
    log.SetEnabled(false);
    log.ModiLog("dropped", false);
    log.SetEnabled(true);
    log.ModiLog("состояние 2", true);
    EXPECT_EQ(ReadFileBytes(log.FileName()), "\xF1\xEE\xF1\xF2\xEE\xFF\xED\xE8\xE5 1\r\n"
                                             "\xF1\xEE\xF1\xF2\xEE\xFF\xED\xE8\xE5 2\r\n");
}

} // namespace
} // namespace tl::test
