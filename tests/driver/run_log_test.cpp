#include "driver_test_support.hpp"
#include "tlcommon/date_time.hpp"
#include "tlcommon/failure_text.hpp"
#include "tlcommon/text_codec.hpp"
#include "tldata/element_state_log.hpp"
#include "tldriver/result_codes.hpp"
#include "tldriver/run_log.hpp"
#include "tlsettings/svc_config.hpp"

#include <gtest/gtest.h>
#include <new>
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
    TempDir dir;
    ASSERT_TRUE(log.WriteTo(dir.Path() + "tlosses.log"));
    EXPECT_EQ(Cp1251ToUtf8(ReadFileBytes(dir.Path() + "tlosses.log")),
              "\r\n"
              "----------------Не рассчитанные объекты-------------------\r\n"
              "Элемент: -3.98.1: \r\n"
              "\t\t01.12.2014 00:00:00 | Ошибка: Ошибка Деления\r\n"
              "Элемент: 100.0.10: \r\n"
              "\t\t30.11.2014 23:30:00 | Ошибка: нет значения\r\n"
              "Элемент: 100.0.5: \r\n"
              "\t\t01.12.2014 00:00:00 | Ошибка: нет значения\r\n"
              "\t\t30.11.2014 23:30:00 | Ошибка: нет значения\r\n");
}

// Lines longer than a block and lines that end a block exactly land in the file whole and in
// order, also when the log grows after a write and is written again.
TEST(RunLogTest, LinesAcrossBlocksAreWrittenWholeAndInOrder) {
    const std::string long_line(300 * 1024, 'x');
    const std::string filler((256 * 1024) - 12, 'y'); // leaves the first block nearly full
    RunLog log;
    std::string expected;
    for (const std::string& line : {std::string("Ёёёёё"), filler, long_line, std::string("z"), long_line}) {
        log.Add(line);
        expected += line + "\r\n";
    }
    TempDir dir;
    ASSERT_TRUE(log.WriteTo(dir.Path() + "tlosses.log"));
    EXPECT_EQ(Cp1251ToUtf8(ReadFileBytes(dir.Path() + "tlosses.log")), expected);
    for (const std::string& line : {filler, std::string("последняя")}) {
        log.Add(line);
        expected += line + "\r\n";
    }
    ASSERT_TRUE(log.WriteTo(dir.Path() + "tlosses.log"));
    EXPECT_EQ(Cp1251ToUtf8(ReadFileBytes(dir.Path() + "tlosses.log")), expected);
    EXPECT_FALSE(log.WriteTo(dir.Path() + "no/such/dir/tlosses.log"));
}

// The log line of a step that failed: the system's own texts as they stand, a Russian text of the
// kind for the libraries' English ones.
TEST(FailureLineTest, OnlyRussianTextsReachTheLog) {
    const std::pair<std::exception_ptr, const char*> cases[] = {
        {std::make_exception_ptr(LocalizedError("Индекс списка вне границ (2)")),
         "Индекс списка вне границ (2)"},
        {std::make_exception_ptr(std::bad_alloc()), "Недостаточно памяти"},
        {std::make_exception_ptr(std::out_of_range("vector::at")), "Выход за границы допустимого диапазона"},
        {std::make_exception_ptr(std::logic_error("no query")), "Нарушен порядок работы драйвера"},
        {std::make_exception_ptr(SvcConfigError("the settings service refused")), "Ошибка службы настроек"},
        {std::make_exception_ptr(std::runtime_error("disk I/O error")), "Ошибка времени выполнения"},
        {std::make_exception_ptr(42), "Непредвиденное исключение"},
    };
    for (const auto& [thrown, text] : cases) {
        std::string line;
        try {
            std::rethrow_exception(thrown);
        } catch (const std::exception& error) {
            line = FailureLine(error);
        } catch (...) {
            line = FailureLine();
        }
        EXPECT_EQ(line, std::string("Внутренняя ошибка: ") + text);
    }
}

TEST(ElementStateLogTest, FileNameReplacesTheModulesExtension) {
    struct Case {
        const char* module;
        const char* log;
    } const cases[] = {
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

// Saved in Windows-1251 with CR LF and no BOM; that each save replaces the file shows in
// state_container_test, whose log is saved twice.
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
