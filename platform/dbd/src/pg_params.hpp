// The parameter values of one PostgreSQL statement, as libpq takes them: integers and reals in
// binary (so that a real arrives bit for bit), text as it is, and arrays of integers for the element
// filters. The storage is kept between statements, so a connection reuses one object.
#pragma once

#include "pg_wire.hpp"
#include "tlosses/abi.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tl::db::pg {

class PgParams {
public:
    void Clear();
    // DATETIME and DOUBLE as float8, INT32, INT64 and BOOL as int8, STRING as text (its pointer is
    // kept: the text must outlive the statement), NULL as a null of a type the server infers.
    void Add(const TlVariant& value);
    void AddInt8Array(std::span<const int64_t> values);
    void AddInt4Array(std::span<const int32_t> values);

    int Count() const { return static_cast<int>(types_.size()); }
    const Oid* Types() const { return types_.data(); }
    // Pointers into the storage; valid until the next Add or Clear.
    const char* const* Values() const;
    const int* Lengths() const { return lengths_.data(); }
    const int* Formats() const { return formats_.data(); }

private:
    static constexpr size_t kNoOffset = SIZE_MAX;

    void AddBinary(Oid type, size_t offset);

    std::string storage_;
    std::vector<Oid> types_;
    std::vector<int> lengths_;
    std::vector<int> formats_;
    // Where each value lies: an offset into storage_, or kNoOffset with the pointer in texts_.
    std::vector<size_t> offsets_;
    std::vector<const char*> texts_;
    mutable std::vector<const char*> values_;
};

} // namespace tl::db::pg
