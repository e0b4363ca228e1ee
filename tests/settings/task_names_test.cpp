// The dialog's element sections. Scenario names and task sections of the run come from the same
// helpers and are checked through the driver's task.
#include "tlsettings/task_names.hpp"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(TaskNames, TheDialogsElementSectionsReplaceEveryObjectOfTheTaskSection) {
    EXPECT_EQ(tl::ElementSectionOfTaskSection("\\Scripts\\Losses1\\Object\\", 0),
              "\\Scripts\\Losses1\\Devices1\\");
    EXPECT_EQ(tl::ElementSectionOfTaskSection("\\Scripts\\Потери ПС\\Object\\", 1),
              "\\Scripts\\Потери ПС\\Devices2\\");
    // Also one inside the scenario name: then they differ from the run's.
    EXPECT_EQ(tl::ElementSectionOfTaskSection(tl::TaskSection("Objects"), 1),
              "\\Scripts\\Devices2s\\Devices2\\");
    EXPECT_EQ(tl::ElementSection("\\Scripts\\Objects\\", 1), "\\Scripts\\Objects\\Devices2\\");
    EXPECT_THROW(tl::ElementSection("\\Scripts\\Losses1\\", 2), std::out_of_range);
    EXPECT_THROW(tl::ElementSectionOfTaskSection("\\Scripts\\Losses1\\Object\\", -1), std::out_of_range);
}

} // namespace
