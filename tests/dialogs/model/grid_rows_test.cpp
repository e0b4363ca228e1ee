// Cell texts of the element grid: bands that are off stay empty, empty cells of a band that is
// on show "---", values follow their display rules.
#include "tlcommon/format_settings.hpp"
#include "tldialogs/grid_rows.hpp"
#include "tlparams/method1_obj.hpp"
#include "tlparams/method2_obj.hpp"

#include <gtest/gtest.h>

namespace tl::dialogs {
namespace {

TEST(GridRowsTest, CoefficientAndFormulaRows) {
    SetSystemDecimalSeparator(',');
    const ElementCatalogue catalogue({{{26, 0, 1}, "Ввод А+", "ПС", 0}, {{26, 0, 2}, "Ввод R+", "ПС", 2}});
    // A line part without transformer, a state element.
    auto line = std::make_unique<TMethod1Obj>();
    ASSERT_TRUE(line->LoadFromText("1;0;0;2;0.126;-1;3;0;0;35;35;0;700;0;0;0;0;0;1;0;26;97;4;ДВ 4;"));
    settings::ElementRecord element{{26, 0, 1}, std::move(line), false};
    const RowCells cells = CellsOf(element, catalogue, 0);
    EXPECT_EQ(cells.object, "($001A.0.1) ПС.Ввод А+");
    EXPECT_EQ(cells.loss_type, "Активные");
    EXPECT_EQ(cells.values, (std::vector<std::string>{"(2) Ввод R+", "0,13", "---", "35", "35", "---", "0,00",
                                                      "", "", "", "", "", "ДВ: ($001A.4) ДВ 4", "Выключен"}));
    EXPECT_EQ(cells.band_on, (std::array<bool, 3>{true, false, true}));

    auto formula = std::make_unique<TMethod2Obj>();
    formula->Formula = "a :=\r\n1;\nb";
    settings::ElementRecord client{{0, 2, 7}, std::move(formula), false};
    const RowCells formula_cells = CellsOf(client, catalogue, 1);
    EXPECT_EQ(formula_cells.object, "(7)") << "an element the catalogue lacks shows its address";
    EXPECT_EQ(formula_cells.values, std::vector<std::string>{"a := 1; b"});
    settings::ElementRecord device{{17, 99, 1}, std::make_unique<TMethod2Obj>(), false};
    EXPECT_EQ(CellsOf(device, catalogue, 1).object, "($0011.99.1)");
    ResetSystemFormat();
}

} // namespace
} // namespace tl::dialogs
