// How rows of one shape (a table and a list of column names) reach a PostgreSQL table: encoded in
// COPY's binary form into a temporary table of the connection, then merged into the table by one
// INSERT ... ON CONFLICT DO UPDATE, all inside the caller's transaction.
//
// The merge replaces a row as SQLite's "insert or replace" does: on a conflict of the table's primary
// key (or, when the names leave part of it out, of a unique key they cover) the named columns take
// the new values and the other columns their defaults; identity and generated columns keep theirs.
// Rows of one store that repeat a key are merged last one wins, as one row after another would be.
#pragma once

#include "pg_session.hpp"
#include "tlosses/abi.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tl::db::pg {

class TableWriter {
public:
    // Reads the table's columns and keys from the catalogue; `number` names the temporary table.
    // Throws Error for a missing table or column.
    static std::unique_ptr<TableWriter> Create(Session& session, int number, std::string_view table,
                                               std::span<const std::string_view> names);

    bool Matches(std::string_view table, std::span<const std::string_view> names) const;
    const std::string& Table() const { return table_; }

    // Appends one row in COPY's binary form. Throws Error for a value its column cannot take; `out`
    // is then as it was.
    void EncodeRow(std::span<const TlVariant> values, std::string& out) const;

    // The temporary table, made once per session (and again after a rollback that undid it).
    const std::string& CreateSql() const { return create_sql_; }
    const std::string& CopySql() const { return copy_sql_; }
    // Merge, then empty the temporary table; the deduplicating form is for rows that repeat a key.
    const std::string& MergeSql() const { return merge_sql_; }
    const std::string& DedupMergeSql() const { return dedup_merge_sql_; }

    bool created = false;

private:
    enum class Kind { Bool, Int2, Int4, Int8, Float4, Float8, Text };

    struct Column {
        std::string name; // lower case, as the catalogue spells an unquoted name
        Kind kind = Kind::Text;
        std::string type;  // the column's type as SQL writes it
        bool cast = false; // copied as text and cast in the merge
    };

    void EncodeValue(const Column& column, const TlVariant& value, bool status_word, std::string& out) const;

    std::string table_;
    std::vector<std::string> given_names_;
    std::vector<Column> columns_;
    int status_column_ = -1;
    std::string create_sql_;
    std::string copy_sql_;
    std::string merge_sql_;
    std::string dedup_merge_sql_;
};

// COPY's binary header and trailer.
void AppendCopyHeader(std::string& out);
void AppendCopyTrailer(std::string& out);

} // namespace tl::db::pg
