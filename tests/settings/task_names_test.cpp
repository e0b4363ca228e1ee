#include "tlsettings/task_names.hpp"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(TaskNames, SectionsOfATaskKey) {
    struct Case {
        const char* task_key;
        const char* scenario;
    };
    const Case cases[] = {
        {"\\Scripts\\Losses1\\", "Losses1"},
        {"\\Scripts\\Losses1", "Losses1"},
        {"\\Scripts\\Потери ПС\\", "Потери ПС"},
        {"C:Losses2\\", "Losses2"},
    };
    for (const Case& c : cases) {
        const std::string scenario = tl::ScenarioName(c.task_key);
        EXPECT_EQ(scenario, c.scenario) << c.task_key;
        const std::string task_section = tl::TaskSection(scenario);
        EXPECT_EQ(task_section, "\\Scripts\\" + scenario + "\\Object\\");
        EXPECT_EQ(tl::ElementSectionOfTaskSection(task_section, 0),
                  "\\Scripts\\" + scenario + "\\Devices1\\");
        EXPECT_EQ(tl::ElementSectionOfTaskSection(task_section, 1),
                  "\\Scripts\\" + scenario + "\\Devices2\\");
    }
    // For the usual form of a key the run's element sections are the dialog's.
    EXPECT_EQ(tl::ElementSection("\\Scripts\\Losses1\\", 0), "\\Scripts\\Losses1\\Devices1\\");
    EXPECT_EQ(tl::ElementSection("\\Scripts\\Losses1\\", 1), "\\Scripts\\Losses1\\Devices2\\");
    // The dialog replaces every "Object", also one inside the scenario name.
    EXPECT_EQ(tl::ElementSectionOfTaskSection(tl::TaskSection("Objects"), 1),
              "\\Scripts\\Devices2s\\Devices2\\");
    EXPECT_THROW(tl::ElementSection("\\Scripts\\Losses1\\", 2), std::out_of_range);
    EXPECT_THROW(tl::ElementSectionOfTaskSection("\\Scripts\\Losses1\\Object\\", -1), std::out_of_range);
}

} // namespace
