#include "pg_params.hpp"

#include "bound_value.hpp"

namespace tl::db::pg {

void PgParams::Clear() {
    storage_.clear();
    types_.clear();
    lengths_.clear();
    formats_.clear();
    offsets_.clear();
    texts_.clear();
}

void PgParams::AddBinary(Oid type, size_t offset) {
    types_.push_back(type);
    lengths_.push_back(static_cast<int>(storage_.size() - offset));
    formats_.push_back(1);
    offsets_.push_back(offset);
    texts_.push_back(nullptr);
}

void PgParams::Add(const TlVariant& value) {
    const BoundValue bound = BindVariant(value);
    const size_t offset = storage_.size();
    switch (bound.kind) {
    case BoundValue::Kind::Null:
        types_.push_back(0);
        lengths_.push_back(0);
        formats_.push_back(0);
        offsets_.push_back(kNoOffset);
        texts_.push_back(nullptr);
        break;
    case BoundValue::Kind::Integer:
        PutInt64(storage_, bound.integer);
        AddBinary(kInt8Oid, offset);
        break;
    case BoundValue::Kind::Real:
        PutFloat8(storage_, bound.real);
        AddBinary(kFloat8Oid, offset);
        break;
    case BoundValue::Kind::Text:
        // A variant's text is NUL-terminated, as the text format wants it.
        types_.push_back(kTextOid);
        lengths_.push_back(0);
        formats_.push_back(0);
        offsets_.push_back(kNoOffset);
        texts_.push_back(bound.text.data());
        break;
    }
}

namespace {

// One dimension, no nulls, the element type, then each element with its length.
template <typename T>
void PutArray(std::string& out, Oid element_type, std::span<const T> values) {
    PutInt32(out, 1);
    PutInt32(out, 0);
    PutInt32(out, static_cast<int32_t>(element_type));
    PutInt32(out, static_cast<int32_t>(values.size()));
    PutInt32(out, 1);
    out.reserve(out.size() + values.size() * (4 + sizeof(T)));
    for (const T v : values) {
        PutInt32(out, sizeof(T));
        if constexpr (sizeof(T) == 8) {
            PutInt64(out, v);
        } else {
            PutInt32(out, v);
        }
    }
}

} // namespace

void PgParams::AddInt8Array(std::span<const int64_t> values) {
    const size_t offset = storage_.size();
    PutArray(storage_, kInt8Oid, values);
    AddBinary(kInt8ArrayOid, offset);
}

void PgParams::AddInt4Array(std::span<const int32_t> values) {
    const size_t offset = storage_.size();
    PutArray(storage_, kInt4Oid, values);
    AddBinary(kInt4ArrayOid, offset);
}

const char* const* PgParams::Values() const {
    values_.resize(types_.size());
    for (size_t i = 0; i < types_.size(); ++i) {
        values_[i] = offsets_[i] != kNoOffset ? storage_.data() + offsets_[i] : texts_[i];
    }
    return values_.data();
}

} // namespace tl::db::pg
