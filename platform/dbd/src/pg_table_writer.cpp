#include "pg_table_writer.hpp"

#include "bound_value.hpp"
#include "pg_params.hpp"
#include "value_conversion.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fmt/format.h>
#include <fmt/ranges.h>
#include <libpq-fe.h>
#include <limits>

namespace tl::db::pg {
namespace {

constexpr char kCopySignature[] = "PGCOPY\n\377\r\n";

std::string Lower(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

struct CatalogColumn {
    int number = 0;
    std::string name;
    Oid type = 0;
    std::string type_sql;
    bool automatic = false; // identity or generated
    bool defaulted = false; // a row that leaves it out gets a value
};

std::vector<CatalogColumn> ReadColumns(Session& session, PgParams& params, std::string_view what) {
    const Result result = session.ExecParams(
        "select a.attnum, a.attname, a.atttypid, format_type(a.atttypid, a.atttypmod), "
        "a.attidentity <> '' or a.attgenerated <> '', a.atthasdef or a.attidentity <> '' "
        "from pg_attribute a where a.attrelid = to_regclass($1) and a.attnum > 0 and not a.attisdropped "
        "order by a.attnum",
        params, false, what);
    std::vector<CatalogColumn> columns;
    for (int r = 0; r < PQntuples(result.get()); ++r) {
        columns.push_back({std::atoi(PQgetvalue(result.get(), r, 0)), PQgetvalue(result.get(), r, 1),
                           static_cast<Oid>(std::strtoul(PQgetvalue(result.get(), r, 2), nullptr, 10)),
                           PQgetvalue(result.get(), r, 3), PQgetvalue(result.get(), r, 4)[0] == 't',
                           PQgetvalue(result.get(), r, 5)[0] == 't'});
    }
    return columns;
}

// The columns of the table's primary key, then of each unique key, as attribute numbers.
std::vector<std::vector<int>> ReadKeys(Session& session, PgParams& params, std::string_view what) {
    const Result result = session.ExecParams(
        "select i.indkey::text from pg_index i where i.indrelid = to_regclass($1) "
        "and (i.indisprimary or i.indisunique) and i.indpred is null and i.indexprs is null and i.indisvalid "
        "order by i.indisprimary desc, i.indexrelid",
        params, false, what);
    std::vector<std::vector<int>> keys;
    for (int r = 0; r < PQntuples(result.get()); ++r) {
        std::vector<int> key;
        std::string_view text = PQgetvalue(result.get(), r, 0);
        while (!text.empty()) {
            int number = 0;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
            if (ec != std::errc()) {
                break;
            }
            key.push_back(number);
            text.remove_prefix(static_cast<size_t>(end - text.data()));
            while (!text.empty() && text.front() == ' ') {
                text.remove_prefix(1);
            }
        }
        keys.push_back(std::move(key));
    }
    return keys;
}

[[noreturn]] void Refuse(std::string_view table, std::string_view column, std::string_view why) {
    throw Error(fmt::format("cannot write into {}: {} for the column {}", table, why, column));
}

std::string Describe(const BoundValue& v) {
    switch (v.kind) {
    case BoundValue::Kind::Integer:
        return fmt::format("{}", v.integer);
    case BoundValue::Kind::Real:
        return fmt::format("{}", v.real);
    case BoundValue::Kind::Text:
        return fmt::format("'{}'", v.text);
    case BoundValue::Kind::Null:
        break;
    }
    return "null";
}

} // namespace

void AppendCopyHeader(std::string& out) {
    out.append(kCopySignature, sizeof kCopySignature); // the signature ends with a NUL byte
    PutInt32(out, 0);                                  // flags
    PutInt32(out, 0);                                  // no header extension
}

void AppendCopyTrailer(std::string& out) {
    PutInt16(out, -1);
}

std::unique_ptr<TableWriter> TableWriter::Create(Session& session, int number, std::string_view table,
                                                 std::span<const std::string_view> names) {
    if (!IsPlainIdentifier(table)) {
        throw Error(fmt::format("'{}' is not a valid table name", table));
    }
    for (const auto name : names) {
        if (!IsPlainIdentifier(name)) {
            throw Error(fmt::format("'{}' is not a valid column name", name));
        }
    }
    const std::string what = fmt::format("cannot write into {}", table);
    const std::string table_text(table);
    PgParams params;
    params.Add(TlVariant{.kind = TL_VT_STRING, .v = {.str = table_text.c_str()}});
    const std::vector<CatalogColumn> catalog = ReadColumns(session, params, what);
    if (catalog.empty()) {
        throw Error(fmt::format("{}: no such table", what));
    }

    auto writer = std::make_unique<TableWriter>();
    writer->table_ = table;
    writer->given_names_.assign(names.begin(), names.end());
    std::vector<int> named_numbers;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string name = Lower(names[i]);
        const auto found = std::find_if(catalog.begin(), catalog.end(),
                                        [&](const CatalogColumn& c) { return c.name == name; });
        if (found == catalog.end()) {
            throw Error(fmt::format("{}: the table has no column named {}", what, names[i]));
        }
        Column column{name, Kind::Text, found->type_sql, false};
        switch (found->type) {
        case kBoolOid:
            column.kind = Kind::Bool;
            break;
        case kInt2Oid:
            column.kind = Kind::Int2;
            break;
        case kInt4Oid:
            column.kind = Kind::Int4;
            break;
        case kInt8Oid:
            column.kind = Kind::Int8;
            break;
        case kFloat4Oid:
            column.kind = Kind::Float4;
            break;
        case kFloat8Oid:
            column.kind = Kind::Float8;
            break;
        case kTextOid:
        case kVarcharOid:
        case kBpcharOid:
            break;
        default:
            column.cast = true; // copied as its text, which the server parses in the merge
            break;
        }
        if (IsStatusColumn(name)) {
            writer->status_column_ = static_cast<int>(i);
        }
        writer->columns_.push_back(std::move(column));
        named_numbers.push_back(found->number);
    }

    // The arbiter of conflicts: the first key whose columns are all named or take their defaults (a
    // result row leaves the season of the data table's key to its default, as SQLite does).
    const auto named = [&](int n) {
        return std::find(named_numbers.begin(), named_numbers.end(), n) != named_numbers.end();
    };
    const auto defaulted = [&](int n) {
        const auto c = std::find_if(catalog.begin(), catalog.end(),
                                    [&](const CatalogColumn& column) { return column.number == n; });
        return c != catalog.end() && c->defaulted;
    };
    std::vector<int> arbiter;
    for (const auto& key : ReadKeys(session, params, what)) {
        if (!key.empty() &&
            std::all_of(key.begin(), key.end(), [&](int n) { return named(n) || defaulted(n); })) {
            arbiter = key;
            break;
        }
    }

    const std::string temp = fmt::format("pg_temp.tl_copy_{}", number);
    std::vector<std::string> definitions;
    std::vector<std::string> column_names;
    std::vector<std::string> selected;
    for (const Column& c : writer->columns_) {
        definitions.push_back(fmt::format("{} {}", c.name, c.cast ? "text" : c.type));
        column_names.push_back(c.name);
        selected.push_back(c.cast ? fmt::format("{}::{}", c.name, c.type) : c.name);
    }
    writer->create_sql_ =
        fmt::format("create temp table if not exists tl_copy_{} ({})", number, fmt::join(definitions, ", "));
    writer->copy_sql_ = fmt::format("copy {} from stdin with (format binary)", temp);

    std::string conflict;
    std::vector<std::string> key_names;
    std::vector<std::string> named_key_names; // those the temporary table holds
    if (!arbiter.empty()) {
        std::vector<std::string> assignments;
        for (const CatalogColumn& c : catalog) {
            if (std::find(arbiter.begin(), arbiter.end(), c.number) != arbiter.end()) {
                key_names.push_back(c.name);
                if (named(c.number)) {
                    named_key_names.push_back(c.name);
                }
                continue;
            }
            if (named(c.number)) {
                assignments.push_back(fmt::format("{0} = excluded.{0}", c.name));
            } else if (!c.automatic) {
                assignments.push_back(fmt::format("{} = default", c.name));
            }
        }
        conflict = assignments.empty()
                       ? fmt::format(" on conflict ({}) do nothing", fmt::join(key_names, ", "))
                       : fmt::format(" on conflict ({}) do update set {}", fmt::join(key_names, ", "),
                                     fmt::join(assignments, ", "));
    }
    const std::string insert = fmt::format("insert into {} ({})", table, fmt::join(column_names, ", "));
    const std::string finish = fmt::format("; release savepoint tl_merge; truncate {}", temp);
    writer->merge_sql_ = fmt::format("savepoint tl_merge; {} select {} from {}{}{}", insert,
                                     fmt::join(selected, ", "), temp, conflict, finish);
    if (!named_key_names.empty()) {
        // Later rows lie further on in the freshly emptied temporary table.
        writer->dedup_merge_sql_ =
            fmt::format("{} select distinct on ({}) {} from {} order by {}, ctid desc{}{}", insert,
                        fmt::join(named_key_names, ", "), fmt::join(selected, ", "), temp,
                        fmt::join(named_key_names, ", "), conflict, finish);
    }
    return writer;
}

bool TableWriter::Matches(std::string_view table, std::span<const std::string_view> names) const {
    return table == table_ &&
           std::equal(names.begin(), names.end(), given_names_.begin(), given_names_.end());
}

void TableWriter::EncodeRow(std::span<const TlVariant> values, std::string& out) const {
    const size_t start = out.size();
    try {
        PutInt16(out, static_cast<int16_t>(columns_.size()));
        for (size_t i = 0; i < columns_.size(); ++i) {
            EncodeValue(columns_[i], values[i], static_cast<int>(i) == status_column_, out);
        }
    } catch (...) {
        out.resize(start);
        throw;
    }
}

void TableWriter::EncodeValue(const Column& column, const TlVariant& value, bool status_word,
                              std::string& out) const {
    const BoundValue v = status_word ? BindStatusWord(value) : BindVariant(value);
    if (v.kind == BoundValue::Kind::Null) {
        PutInt32(out, -1);
        return;
    }
    switch (column.kind) {
    case Kind::Int2:
    case Kind::Int4:
    case Kind::Int8: {
        int64_t n = 0;
        if (v.kind == BoundValue::Kind::Integer) {
            n = v.integer;
        } else if (v.kind == BoundValue::Kind::Real && std::isfinite(v.real)) {
            n = RoundToInt64(v.real);
        } else if (const auto whole =
                       v.kind == BoundValue::Kind::Text ? ParseInteger(v.text) : std::nullopt) {
            n = *whole;
        } else {
            Refuse(table_, column.name, fmt::format("{} is not a whole number", Describe(v)));
        }
        if (column.kind == Kind::Int8) {
            PutInt32(out, 8);
            PutInt64(out, n);
        } else if (column.kind == Kind::Int4) {
            if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max()) {
                Refuse(table_, column.name, fmt::format("{} is out of the 32-bit range", n));
            }
            PutInt32(out, 4);
            PutInt32(out, static_cast<int32_t>(n));
        } else {
            if (n < std::numeric_limits<int16_t>::min() || n > std::numeric_limits<int16_t>::max()) {
                Refuse(table_, column.name, fmt::format("{} is out of the 16-bit range", n));
            }
            PutInt32(out, 2);
            PutInt16(out, static_cast<int16_t>(n));
        }
        return;
    }
    case Kind::Float4:
    case Kind::Float8: {
        double d = 0;
        if (v.kind == BoundValue::Kind::Integer) {
            d = static_cast<double>(v.integer);
        } else if (v.kind == BoundValue::Kind::Real) {
            d = v.real;
        } else if (const auto number = ParseNumber(v.text)) {
            d = *number;
        } else {
            Refuse(table_, column.name, fmt::format("{} is not a number", Describe(v)));
        }
        if (column.kind == Kind::Float8) {
            PutInt32(out, 8);
            PutFloat8(out, d);
        } else {
            PutInt32(out, 4);
            PutFloat4(out, static_cast<float>(d));
        }
        return;
    }
    case Kind::Bool: {
        bool b = false;
        if (v.kind == BoundValue::Kind::Integer) {
            b = v.integer != 0;
        } else if (v.kind == BoundValue::Kind::Real) {
            b = v.real != 0;
        } else if (EqualsIgnoringAsciiCase(v.text, "true") || EqualsIgnoringAsciiCase(v.text, "false")) {
            b = EqualsIgnoringAsciiCase(v.text, "true");
        } else if (const auto number = ParseNumber(v.text)) {
            b = *number != 0;
        } else {
            Refuse(table_, column.name, fmt::format("{} is not a truth value", Describe(v)));
        }
        PutInt32(out, 1);
        out.push_back(b ? '\1' : '\0');
        return;
    }
    case Kind::Text:
        if (v.kind == BoundValue::Kind::Text) {
            PutInt32(out, static_cast<int32_t>(v.text.size()));
            out.append(v.text);
        } else {
            const std::string text = Describe(v); // a number in decimal
            PutInt32(out, static_cast<int32_t>(text.size()));
            out.append(text);
        }
        return;
    }
}

} // namespace tl::db::pg
