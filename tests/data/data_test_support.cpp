#include "data_test_support.hpp"

namespace tl::test {

MeteringDb::MeteringDb() : db_(db::Connection::Open(":memory:")) {
    db::InitSchema(*db_);
}

void MeteringDb::AddData(int32_t parnumber, int32_t object, int32_t objtype, int32_t item, DateTime date,
                         int32_t season, double value0, int64_t status) {
    Execute("insert into data (parnumber, object, objtype, item, data_date, season, value0, tvkstatus) "
            "values (:a, :b, :c, :d, :e, :f, :g, :h)",
            {Variant::Int32(parnumber), Variant::Int32(object), Variant::Int32(objtype), Variant::Int32(item),
             Variant::DateTime(date), Variant::Int32(season), Variant::Double(value0),
             Variant::Int64(status)});
}

void MeteringDb::AddEvent(int32_t evtype, int32_t evcode, ElementAddress element, DateTime genesis,
                          std::optional<DateTime> alt, std::optional<int32_t> season, int32_t idprotect) {
    Execute("insert into eventlist (evtype, evcode, objcode, objtype, objitem, evgenesisdt, evaltdt, season, "
            "evidprotect) values (:a, :b, :c, :d, :e, :f, :g, :h, :i)",
            {Variant::Int32(evtype), Variant::Int32(evcode), Variant::Int32(element.object),
             Variant::Int32(element.type), Variant::Int32(element.item), Variant::DateTime(genesis),
             alt ? Variant::DateTime(*alt) : Variant(), season ? Variant::Int32(*season) : Variant(),
             Variant::Int32(idprotect)});
}

namespace {
std::vector<TlVariant> ToAbi(std::span<const Variant> params) {
    std::vector<TlVariant> values;
    for (const Variant& param : params) {
        values.push_back(ToAbiScalar(param));
    }
    return values;
}
} // namespace

void MeteringDb::Execute(std::string_view sql, std::vector<Variant> params) {
    db_->Execute(sql, ToAbi(params));
}

std::unique_ptr<db::ResultSet> MeteringDb::Query(std::string_view sql, std::span<const Variant> params) {
    return db_->Query(sql, ToAbi(params));
}

} // namespace tl::test
