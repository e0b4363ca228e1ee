// The progress line never shares a line with a status line: each status line is printed on a
// cleared line, the progress line comes back under it, and Finish leaves the line empty.
#include "tlhost/terminal_progress.hpp"

#include <cstdio>
#include <gtest/gtest.h>
#include <regex>
#include <string>

namespace tl::host {
namespace {

std::string Contents(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        text.push_back(static_cast<char>(c));
    }
    return text;
}

TEST(TerminalProgressTest, StatusLinesClearTheProgressLineAndFinishClearsItForGood) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    {
        TerminalProgress progress(out);
        const TlVariant params[] = {{TL_VT_INT32, {.i32 = 12}},
                                    {TL_VT_DATETIME, {.date_time = 1}},
                                    {TL_VT_DATETIME, {.date_time = 2}}};
        progress.QueryIssued(
            1, "select * from data where parnumber = :pn1 and data_date between :sdt and :edt", params);
        progress.StatusLine("Demo", "Начало работы");
        progress.QueryDelivered(1, 5376);
        progress.Finish();
        progress.StatusLine("Demo", "после конца");
    }
    const std::string text = Contents(out);
    std::fclose(out);

    const std::string clear = "\r\033[K";
    EXPECT_NE(text.find(clear + "… 30-минутная мощность (12): запрос данных"), std::string::npos) << text;
    EXPECT_NE(text.find(clear + "… 30-минутная мощность (12): обработка, строк: 5376"), std::string::npos);
    // The status line starts on a cleared line and ends with a newline.
    EXPECT_TRUE(
        std::regex_search(text, std::regex("\\r\\x1b\\[K\\d\\d:\\d\\d:\\d\\d Demo: Начало работы\\n")))
        << text;
    // After Finish: one clear, then only the plain status line.
    const size_t last_status = text.rfind("Demo: после конца\n");
    ASSERT_NE(last_status, std::string::npos);
    EXPECT_EQ(text.find("…", last_status), std::string::npos);
    EXPECT_EQ(text.substr(last_status - 9 - clear.size(), clear.size()), clear);
    EXPECT_TRUE(text.ends_with("после конца\n"));
}

} // namespace
} // namespace tl::host
