// The collection pass: the functions record the elements formulas name and give nothing.
#include "unit_test_support.hpp"

#include <stdexcept>

namespace tl::test {
namespace {

using Addresses = std::vector<ElementAddress>;

Addresses Listed(std::span<const ElementAddress> items) {
    return {items.begin(), items.end()};
}

TEST_F(UnitTest, CollectionRecordsEachElementOnceInOrderAndReadsNothing) {
    data.Add(Row({5, 0, 1}, 100));
    momentary.Add(Row({26, 99, 0x0205}, 5));
    SetInterval(8);
    module.EnterCollectionMode();
    auto program =
        Run("uses MyUnit;\n"
            "Keep(W(5, 1)); Keep(P(5, 1)); Keep(W2(7, 99, 2)); Keep(P2(5, 0, 1)); Keep(W(3, 1));\n"
            "Keep(M(26, 98, 2, 5)); Keep(Qabc(26, 98, 2)); Keep(M(1, 99, 0, 1)); Keep(M(1, 99, 0, 99));\n"
            "Keep(DI(12, 1)); Keep(MO(500)); Keep(DI(12, 1)); Keep(MO(4)); Keep(DI(12, 2));\n"
            "Keep(T); Keep(Parnumber(1)); Keep(CalcDiscret(0)); Keep(CalcDiscret(1));");
    EXPECT_FALSE(program->HasExecutionErrors()) << program->Messages().ToText();
    EXPECT_EQ(kept, (std::vector<double>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 5, 1}));
    EXPECT_EQ(Listed(module.UsedPowerElements()), (Addresses{{5, 0, 1}, {7, 99, 2}, {3, 0, 1}}));
    EXPECT_EQ(Listed(module.UsedMomentaryElements()), (Addresses{{26, 99, 0x0205}, {1, 99, 1}}));
    EXPECT_EQ(Listed(module.UsedStateElements()),
              (Addresses{{12, 97, 1}, {500, 95, 0}, {4, 95, 0}, {12, 97, 2}}));

    module.LeaveCollectionMode();
    EXPECT_TRUE(module.UsedPowerElements().empty());
    module.EnterCollectionMode();
    Run("Keep(W(9, 9));");
    EXPECT_EQ(Listed(module.UsedPowerElements()), (Addresses{{9, 0, 9}}));
    EXPECT_TRUE(module.UsedStateElements().empty());
}

TEST_F(UnitTest, AContextIsRefusedDuringCollectionAndOutsideThePasses) {
    module.EnterCollectionMode();
    EXPECT_THROW(SetInterval(7), std::logic_error);
    module.LeaveCollectionMode();
    EXPECT_THROW(SetInterval(13), std::invalid_argument);
    EXPECT_THROW(SetInterval(-1), std::invalid_argument);
    SetInterval(12);
}

} // namespace
} // namespace tl::test
