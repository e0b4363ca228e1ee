// The dialog's element sections. Scenario names and task sections of the run come from the same
// helpers and are checked through the driver's task.
#include "tlsettings/task_names.hpp"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(TaskNames, TheDialogsElementSectionsReplaceEveryObjectOfTheTaskSection) {
    // The dialog's tests read and write both element sections of a task; an "Object" inside the
    // scenario name is replaced too, and then they differ from the run's.
    EXPECT_EQ(tl::ElementSectionOfTaskSection(tl::TaskSection("Objects"), 1),
              "\\Scripts\\Devices2s\\Devices2\\");
    EXPECT_EQ(tl::ElementSection("\\Scripts\\Objects\\", 1), "\\Scripts\\Objects\\Devices2\\");
    EXPECT_THROW(tl::ElementSection("\\Scripts\\Losses1\\", 2), std::out_of_range);
    EXPECT_THROW(tl::ElementSectionOfTaskSection("\\Scripts\\Losses1\\Object\\", -1), std::out_of_range);
}

} // namespace
