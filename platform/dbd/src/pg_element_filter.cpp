#include "pg_element_filter.hpp"

#include "element_filter.hpp"

#include <algorithm>
#include <fmt/format.h>
#include <limits>
#include <vector>

namespace tl::db::pg {
namespace {

bool Fits32(int64_t v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

int64_t ElementKey(const FilterElement& e) {
    const uint64_t high = static_cast<uint32_t>(static_cast<int32_t>(e.object));
    const uint64_t low = static_cast<uint32_t>(static_cast<int32_t>(e.item));
    return static_cast<int64_t>(high << 32 | low);
}

struct TypeKeys {
    int64_t objtype = 0;
    std::vector<int64_t> keys;
};

void RenderKeyLookup(const ElementFilter& filter, PgParams& params, std::string& out) {
    std::vector<TypeKeys> types;
    std::vector<int32_t> objects;
    std::vector<int32_t> objtypes;
    std::vector<int32_t> items;
    for (const FilterElement& e : filter.elements) {
        auto it = std::find_if(types.begin(), types.end(),
                               [&](const TypeKeys& t) { return t.objtype == e.objtype; });
        if (it == types.end()) {
            types.push_back({e.objtype, {}});
            it = types.end() - 1;
        }
        it->keys.push_back(ElementKey(e));
        objects.push_back(static_cast<int32_t>(e.object));
        objtypes.push_back(static_cast<int32_t>(e.objtype));
        items.push_back(static_cast<int32_t>(e.item));
    }
    const std::string_view object = filter.object_column;
    const std::string_view objtype = filter.objtype_column;
    const std::string_view item = filter.item_column;
    auto to = std::back_inserter(out);
    // A row with a null column is compared as the written filter compares it, element by element.
    params.AddInt4Array(objects);
    params.AddInt4Array(objtypes);
    params.AddInt4Array(items);
    const int first = params.Count() - 2;
    fmt::format_to(to,
                   "(case when {0} is null or {1} is null or {2} is null then ({0}, {1}, {2}) in "
                   "(select * from unnest(${3}, ${4}, ${5})) else ",
                   object, objtype, item, first, first + 1, first + 2);
    const std::string key = fmt::format("(({}::int8 << 32) | ({}::int8 & 4294967295))", object, item);
    if (types.size() == 1) {
        params.AddInt8Array(types[0].keys);
        fmt::format_to(to, "{} = {} and {} = any(${})", objtype, types[0].objtype, key, params.Count());
    } else {
        fmt::format_to(to, "case {}", objtype);
        for (const TypeKeys& t : types) {
            params.AddInt8Array(t.keys);
            fmt::format_to(to, " when {} then {} = any(${})", t.objtype, key, params.Count());
        }
        out += " else false end";
    }
    out += " end)";
}

} // namespace

std::string RewriteElementFiltersForPg(std::string_view sql, PgParams& params) {
    const std::vector<ElementFilter> filters = FindElementFilters(sql);
    if (filters.empty()) {
        return std::string(sql);
    }
    std::string out;
    out.reserve(sql.size());
    size_t copied = 0;
    for (const ElementFilter& filter : filters) {
        out.append(sql.substr(copied, filter.begin - copied));
        const bool keyable =
            std::all_of(filter.elements.begin(), filter.elements.end(), [](const FilterElement& e) {
                return Fits32(e.object) && Fits32(e.objtype) && Fits32(e.item);
            });
        if (keyable) {
            RenderKeyLookup(filter, params, out);
        } else {
            RenderRowValueList(filter, out);
        }
        copied = filter.end;
    }
    out.append(sql.substr(copied));
    return out;
}

} // namespace tl::db::pg
