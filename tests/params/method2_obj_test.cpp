#include "tlparams/default_formula.hpp"
#include "tlparams/method1_obj.hpp"
#include "tlparams/method2_obj.hpp"
#include "tlparams/sensor_types.hpp"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace {

// Completeness (an empty formula is not complete) is the task dialog's delete test.
TEST(Method2Obj, TheFormulaIsTheStoredTextUnchanged) {
    tl::TMethod2Obj record;
    const std::string formula = "%Result0% := W(1, 0, 5);\r\n%Result1% := 0.5; // коэффициент; 1,5";
    ASSERT_TRUE(record.LoadFromText(formula));
    EXPECT_EQ(record.SaveToText(), formula);
}

TEST(ObjParams, FactoryAndAssignKeepToOneClass) {
    auto coefficients = tl::CreateObjParams(0);
    auto formula = tl::CreateObjParams(1);
    ASSERT_NE(dynamic_cast<tl::TMethod1Obj*>(coefficients.get()), nullptr);
    ASSERT_NE(dynamic_cast<tl::TMethod2Obj*>(formula.get()), nullptr);
    EXPECT_THROW(tl::CreateObjParams(2), std::out_of_range);
    EXPECT_THROW(tl::CreateObjParams(-1), std::out_of_range);
    EXPECT_NE(dynamic_cast<tl::TMethod1Obj*>(coefficients->Create().get()), nullptr);
    EXPECT_THROW(formula->Assign(*coefficients), std::invalid_argument);
    EXPECT_THROW(coefficients->Assign(*formula), std::invalid_argument);
}

// Device 26 ($1A) is the settings model's new element.
TEST(DefaultFormula, ObjectCodeInPascalHexadecimal) {
    struct Case {
        int32_t object_code, element_type, item;
        const char* formula;
    };
    const Case cases[] = {
        {0, 99, 3, "%Result% := W2(0, 99, 3)"},
        {4096, 0, 12, "%Result% := W2($1000, 0, 12)"},
        {-1, 0, 1, "%Result% := W2($FFFFFFFF, 0, 1)"},
    };
    for (const Case& c : cases) {
        tl::TMethod2Obj record;
        tl::SetDefaultFormula(record, c.object_code, c.element_type, c.item);
        EXPECT_EQ(record.Formula, c.formula);
    }
}

TEST(SensorTypes, NamesAndKinds) {
    struct Case {
        int32_t code;
        const char* name;
        tl::SensorKind kind;
    };
    const Case cases[] = {
        {0, "Апр", tl::SensorKind::kActive},       {1, "Аот", tl::SensorKind::kActive},
        {2, "Rпр", tl::SensorKind::kReactive},     {3, "Rот", tl::SensorKind::kReactive},
        {4, "не задан", tl::SensorKind::kNeither}, {-1, "не задан", tl::SensorKind::kNeither},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tl::SensorTypeName(c.code), c.name) << c.code;
        EXPECT_EQ(tl::SensorTypeKind(c.code), c.kind) << c.code;
    }
}

} // namespace
