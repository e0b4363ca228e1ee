#include "demo_database_support.hpp"

#include "tldemo/metering_writer.hpp"

namespace tl::demo::testing {

const Scenario& GeneratedScenario() {
    static const Scenario scenario = DemoScenario();
    return scenario;
}

tl::db::Connection& GeneratedDatabase() {
    static const std::unique_ptr<tl::db::Connection> db = [] {
        auto connection = tl::db::Connection::Open(":memory:");
        tl::db::InitSchema(*connection);
        WriteMeteringData(*connection, GeneratedScenario());
        return connection;
    }();
    return *db;
}

std::vector<Row> ChannelRows(tl::db::Connection& db, int32_t par_number, int32_t object, int32_t item) {
    const TlVariant params[] = {
        {TL_VT_INT32, {.i32 = par_number}}, {TL_VT_INT32, {.i32 = object}}, {TL_VT_INT32, {.i32 = item}}};
    const auto set = db.Query("select data_date, value0 from data where parnumber = :p and object = :o and "
                              "objtype = 0 and item = :i order by data_date",
                              params);
    std::vector<Row> rows;
    for (set->First(); !set->Eof(); set->Next()) {
        rows.push_back({set->AsDateTime(0), set->AsDouble(1)});
    }
    return rows;
}

} // namespace tl::demo::testing
