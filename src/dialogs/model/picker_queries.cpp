#include "tldialogs/picker_queries.hpp"

#include "tldialogs/database_query.hpp"

namespace tl::dialogs {
namespace {

std::vector<NamedCode> ReadNamedCodes(std::string_view sql) {
    QueryRows rows(sql);
    const int32_t code = rows.Field("Code");
    const int32_t name = rows.Field("Name");
    std::vector<NamedCode> result;
    for (; !rows.AtEnd(); rows.Next()) {
        result.push_back({rows.Integer(code), rows.Text(name)});
    }
    return result;
}

} // namespace

std::vector<NamedCode> Devices() {
    return ReadNamedCodes("SELECT Code, Name FROM Devices ORDER BY Code");
}

std::vector<NamedCode> MeasurementObjects() {
    return ReadNamedCodes("SELECT Code, Name FROM MObjects ORDER BY Code");
}

std::vector<int32_t> StoredMomentaryItems(int32_t device_code) {
    QueryRows rows("SELECT DISTINCT item FROM data WHERE parnumber = 1100 AND object = :c AND objtype = 99 "
                   "ORDER BY item",
                   {TlVariant{TL_VT_INT32, {.i32 = device_code}}});
    const int32_t item = rows.Field("item");
    std::vector<int32_t> items;
    for (; !rows.AtEnd(); rows.Next()) {
        items.push_back(rows.Integer(item));
    }
    return items;
}

} // namespace tl::dialogs
