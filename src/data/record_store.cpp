#include "tldata/record_store.hpp"

#include "tlcommon/prefault.hpp"
#include "tlcommon/text_codec.hpp"
#include "tldata/case_fold.hpp"

#include <bit>
#include <limits>
#include <stdexcept>

namespace tl {
namespace {

// Rows of one stamp alternate between a few status words: the shared fields of the last few rows
// are tried before new ones are kept.
constexpr size_t kSharedLookBack = 4;
// The element index starts at this many slots and is kept at most half full.
constexpr size_t kFirstElementSlots = 64;

size_t ElementHashOf(int32_t object, int32_t item, int32_t type) {
    uint64_t h = static_cast<uint32_t>(object) * 0x9E3779B97F4A7C15ULL;
    h ^= (uint64_t{static_cast<uint32_t>(item)} << 32) | static_cast<uint32_t>(type);
    h *= 0xFF51AFD7ED558CCDULL;
    return static_cast<size_t>(h ^ (h >> 32));
}

TlVariant AbiInt32(int32_t value) {
    TlVariant v{};
    v.kind = TL_VT_INT32;
    v.v.i32 = value;
    return v;
}

TlVariant AbiDouble(TlVariantKind kind, double value) {
    TlVariant v{};
    v.kind = kind;
    v.v.f64 = value;
    return v;
}

} // namespace

const TlRecordsVtbl RecordStore::kVtbl = {&RecordStore::AbiCount, &RecordStore::AbiFieldCount,
                                          &RecordStore::AbiFieldName, &RecordStore::AbiValue,
                                          &RecordStore::AbiRelease};

RecordStore::RecordStore()
    : abi_cp1251_{{&kVtbl}, this, TextEncoding::kCp1251}, abi_utf8_{{&kVtbl}, this, TextEncoding::kUtf8} {}

RecordStore::~RecordStore() = default;

// A block is filled row by row at once: its pages are mapped in one call rather than faulting in
// one by one.
RecordStore::PackedBlock RecordStore::NewBlock() {
    PackedBlock block = std::make_unique_for_overwrite<PackedRow[]>(kPackedBlockRows);
    PrefaultForWriting(block.get(), kPackedBlockRows * sizeof(PackedRow));
    return block;
}

int32_t RecordView::FieldCount() const {
    return store_->FieldCount(index_);
}

const std::string& RecordView::Name(int32_t field) const {
    return store_->FieldName(index_, field);
}

Variant RecordView::Value(int32_t field) const {
    return store_->Value(index_, field);
}

int32_t RecordStore::FieldCount(int32_t record) const {
    if (IsPacked()) {
        if (record < 0 || static_cast<size_t>(record) >= packed_count_) {
            throw std::out_of_range("record index out of range");
        }
        return static_cast<int32_t>(kResultFieldNames.size());
    }
    const Slot& slot = records_.at(static_cast<size_t>(record));
    const auto names = static_cast<uint32_t>(name_sets_[static_cast<size_t>(slot.name_set)].utf8.size());
    return static_cast<int32_t>(names < slot.value_count ? names : slot.value_count);
}

int32_t RecordStore::NameSetOf(int32_t record) const {
    if (IsPacked()) {
        FieldCount(record); // checks the index
        return result_name_set_;
    }
    return records_.at(static_cast<size_t>(record)).name_set;
}

const RecordStore::Slot& RecordStore::SlotAt(int32_t record, int32_t field) const {
    if (field < 0 || field >= FieldCount(record)) {
        throw std::out_of_range("record field index out of range");
    }
    return records_[static_cast<size_t>(record)];
}

void RecordStore::Reserve(size_t records, size_t values_per_record) {
    records_.reserve(records_.size() + records);
    values_.reserve(values_.size() + records * values_per_record);
}

const std::string& RecordStore::FieldName(int32_t record, int32_t field) const {
    if (IsPacked()) {
        if (field < 0 || field >= FieldCount(record)) {
            throw std::out_of_range("record field index out of range");
        }
        return name_sets_[static_cast<size_t>(result_name_set_)].utf8[static_cast<size_t>(field)];
    }
    const Slot& slot = SlotAt(record, field);
    return name_sets_[static_cast<size_t>(slot.name_set)].utf8[static_cast<size_t>(field)];
}

Variant RecordStore::Value(int32_t record, int32_t field) const {
    if (IsPacked()) {
        if (field < 0 || field >= FieldCount(record)) {
            throw std::out_of_range("record field index out of range");
        }
        return FromAbi(PackedValue(static_cast<size_t>(record), field), false);
    }
    SlotAt(record, field);
    return StoredValue(record, field);
}

bool RecordStore::SharedFields::operator==(const SharedFields& other) const {
    // Bit for bit: a stamp of -0.0 is kept as it was given.
    return status == other.status && par_number == other.par_number &&
           std::bit_cast<uint64_t>(data_date) == std::bit_cast<uint64_t>(other.data_date) &&
           std::bit_cast<uint64_t>(rcv_stamp) == std::bit_cast<uint64_t>(other.rcv_stamp);
}

int32_t RecordStore::ResultNameSet() {
    if (result_name_set_ < 0) {
        const std::vector<std::string> names(kResultFieldNames.begin(), kResultFieldNames.end());
        result_name_set_ = FindOrAddNameSet(names, false);
    }
    return result_name_set_;
}

uint32_t RecordStore::SharedIndex(const SharedFields& fields) {
    const size_t look = shared_.size() < kSharedLookBack ? shared_.size() : kSharedLookBack;
    for (size_t i = shared_.size(); i > shared_.size() - look; --i) {
        if (shared_[i - 1] == fields) {
            return static_cast<uint32_t>(i - 1);
        }
    }
    if (shared_.size() > std::numeric_limits<uint32_t>::max()) {
        throw std::length_error("too many result rows");
    }
    shared_.push_back(fields);
    return static_cast<uint32_t>(shared_.size() - 1);
}

// A pass adds its rows stamp by stamp, the elements in the same order at every stamp: the element
// after the last one (or the first, after the last of all) is nearly always the one wanted, and
// the index is searched only when it is not.
uint32_t RecordStore::ElementIndex(const ElementKey& key) {
    if (!elements_.empty()) {
        const uint32_t next = last_element_ + 1 < elements_.size() ? last_element_ + 1 : 0;
        if (elements_[next] == key) {
            return last_element_ = next;
        }
        if (elements_[last_element_] == key) {
            return last_element_;
        }
    }
    if ((elements_.size() + 1) * 2 > element_slots_.size()) {
        GrowElementSlots();
    }
    const size_t mask = element_slots_.size() - 1;
    for (size_t i = ElementHashOf(key.object, key.item, key.type) & mask;; i = (i + 1) & mask) {
        const uint32_t slot = element_slots_[i];
        if (slot == 0) {
            if (elements_.size() >= std::numeric_limits<uint32_t>::max() - 1) {
                throw std::length_error("too many result elements");
            }
            elements_.push_back(key);
            element_slots_[i] = static_cast<uint32_t>(elements_.size());
            return last_element_ = static_cast<uint32_t>(elements_.size() - 1);
        }
        if (elements_[slot - 1] == key) {
            return last_element_ = slot - 1;
        }
    }
}

void RecordStore::GrowElementSlots() {
    element_slots_.assign(element_slots_.empty() ? kFirstElementSlots : element_slots_.size() * 2, 0);
    const size_t mask = element_slots_.size() - 1;
    for (size_t e = 0; e < elements_.size(); ++e) {
        size_t i = ElementHashOf(elements_[e].object, elements_[e].item, elements_[e].type) & mask;
        while (element_slots_[i] != 0) {
            i = (i + 1) & mask;
        }
        element_slots_[i] = static_cast<uint32_t>(e + 1);
    }
}

void RecordStore::AddResultRow(const ResultRow& row) {
    const int32_t names = ResultNameSet();
    if (!records_.empty()) {
        const std::array<Variant, kResultFieldNames.size()> values = {
            Variant::Int32(row.par_number),   Variant::DateTime(row.data_date),
            Variant::Int32(row.object),       Variant::Int32(row.item),
            Variant::Int32(row.type),         Variant::Double(row.value0),
            Variant::Double(row.value1),      Variant::Double(StatusWordAsDouble(row.status)),
            Variant::DateTime(row.rcv_stamp),
        };
        AppendRecord(names, values);
        return;
    }
    const uint32_t element = ElementIndex({row.object, row.item, row.type});
    const uint32_t shared = SharedIndex({row.status, row.data_date, row.rcv_stamp, row.par_number});
    const size_t at = packed_count_ & (kPackedBlockRows - 1);
    if (at == 0) {
        packed_.push_back(NewBlock());
    }
    packed_.back()[at] = {row.value0, row.value1, element, shared};
    ++packed_count_;
}

void RecordStore::ReserveResultRows(size_t rows) {
    if (records_.empty()) {
        packed_.reserve((packed_count_ + rows + kPackedBlockRows - 1) >> kPackedBlockShift);
    } else {
        Reserve(rows, kResultFieldNames.size());
    }
}

size_t RecordStore::ValueBytes() const {
    return records_.capacity() * sizeof(Slot) + values_.capacity() * sizeof(TlVariant) +
           packed_.size() * kPackedBlockRows * sizeof(PackedRow) + packed_.capacity() * sizeof(packed_[0]) +
           shared_.capacity() * sizeof(SharedFields) + elements_.capacity() * sizeof(ElementKey) +
           element_slots_.capacity() * sizeof(uint32_t);
}

TlVariant RecordStore::PackedValue(size_t record, int32_t field) const {
    return PackedField(PackedAt(record), field);
}

TlVariant RecordStore::PackedField(const PackedRow& row, int32_t field) const {
    const SharedFields& shared = shared_[row.shared];
    const ElementKey& element = elements_[row.element];
    switch (field) {
    case 0:
        return AbiInt32(shared.par_number);
    case 1:
        return AbiDouble(TL_VT_DATETIME, shared.data_date);
    case 2:
        return AbiInt32(element.object);
    case 3:
        return AbiInt32(element.item);
    case 4:
        return AbiInt32(element.type);
    case 5:
        return AbiDouble(TL_VT_DOUBLE, row.value0);
    case 6:
        return AbiDouble(TL_VT_DOUBLE, row.value1);
    case 7:
        return AbiDouble(TL_VT_DOUBLE, StatusWordAsDouble(shared.status));
    default:
        return AbiDouble(TL_VT_DATETIME, shared.rcv_stamp);
    }
}

void RecordStore::UnpackResultRows() {
    constexpr auto kFields = static_cast<uint32_t>(kResultFieldNames.size());
    records_.reserve(packed_count_);
    values_.reserve(packed_count_ * kFields);
    for (size_t r = 0; r < packed_count_; ++r) {
        const PackedRow& row = PackedAt(r);
        records_.push_back(Slot{result_name_set_, kFields, values_.size()});
        for (uint32_t f = 0; f < kFields; ++f) {
            values_.push_back(PackedField(row, static_cast<int32_t>(f)));
        }
    }
    packed_.clear();
    packed_.shrink_to_fit();
    packed_count_ = 0;
    shared_ = {};
    elements_ = {};
    element_slots_ = {};
    last_element_ = 0;
}

int32_t RecordStore::StoredValueCount(int32_t record) const {
    return static_cast<int32_t>(records_.at(static_cast<size_t>(record)).value_count);
}

Variant RecordStore::StoredValue(int32_t record, int32_t index) const {
    const Slot& slot = records_.at(static_cast<size_t>(record));
    if (index < 0 || static_cast<uint32_t>(index) >= slot.value_count) {
        throw std::out_of_range("record value index out of range");
    }
    const TlVariant& raw = values_[slot.first_value + static_cast<size_t>(index)];
    if (raw.kind == TL_VT_STRING) {
        return Variant::String(texts_[static_cast<size_t>(raw.v.i64)].utf8);
    }
    return FromAbi(raw, false);
}

const std::vector<std::string>& RecordStore::NameSet(int32_t index) const {
    return name_sets_.at(static_cast<size_t>(index)).utf8;
}

void RecordStore::Clear() {
    packed_.clear();
    packed_count_ = 0;
    shared_.clear();
    elements_.clear();
    element_slots_.clear();
    last_element_ = 0;
    result_name_set_ = -1;
    records_.clear();
    values_.clear();
    texts_.clear();
    name_sets_.clear();
    name_set_index_.clear();
    last_name_set_ = -1;
}

std::string RecordStore::JoinKey(std::span<const std::string> names, bool ignore_case) {
    std::string key;
    for (const std::string& name : names) {
        key += ignore_case ? FoldCase(name) : name;
        key.push_back('\0');
    }
    return key;
}

int32_t RecordStore::FindOrAddNameSet(std::span<const std::string> names, bool ignore_case) {
    // Consecutive records nearly always share their shape: try the last set before hashing.
    if (last_name_set_ >= 0 && last_ignore_case_ == ignore_case) {
        const auto& last = name_sets_[static_cast<size_t>(last_name_set_)].utf8;
        bool same = last.size() == names.size();
        for (size_t i = 0; same && i < names.size(); ++i) {
            same = ignore_case ? SameText(last[i], names[i]) : last[i] == names[i];
        }
        if (same) {
            return last_name_set_;
        }
    }
    std::string key = JoinKey(names, ignore_case);
    auto [it, added] = name_set_index_.try_emplace(std::move(key), static_cast<int32_t>(name_sets_.size()));
    if (added) {
        NameSetData set;
        set.utf8.assign(names.begin(), names.end());
        set.cp1251.reserve(names.size());
        for (const std::string& name : names) {
            set.cp1251.push_back(Utf8ToCp1251(name));
        }
        name_sets_.push_back(std::move(set));
    }
    last_name_set_ = it->second;
    last_ignore_case_ = ignore_case;
    return it->second;
}

void RecordStore::AppendRecord(int32_t name_set, std::span<const Variant> values) {
    if (IsPacked()) {
        UnpackResultRows();
    }
    if (values.size() > std::numeric_limits<uint32_t>::max()) {
        throw std::length_error("record has too many values");
    }
    records_.push_back(Slot{name_set, static_cast<uint32_t>(values.size()), values_.size()});
    for (const Variant& value : values) {
        TlVariant raw = ToAbiScalar(value);
        if (value.Kind() == TL_VT_STRING) {
            raw.v.i64 = static_cast<int64_t>(texts_.size());
            texts_.push_back(StoredText{value.Text(), Utf8ToCp1251(value.Text())});
        }
        values_.push_back(raw);
    }
}

const TlRecords* RecordStore::AsAbi(TextEncoding encoding) const {
    return encoding == TextEncoding::kCp1251 ? &abi_cp1251_.base : &abi_utf8_.base;
}

TlRecords* RecordStore::HandOver(std::unique_ptr<RecordStore> records, TextEncoding encoding) {
    RecordStore* owner = records.release();
    return encoding == TextEncoding::kCp1251 ? &owner->abi_cp1251_.base : &owner->abi_utf8_.base;
}

const RecordStore::AbiView& RecordStore::ViewOf(const TlRecords* self) {
    // AbiView is standard-layout with the TlRecords first, so the two addresses are one.
    return *reinterpret_cast<const AbiView*>(self);
}

int32_t RecordStore::AbiCount(const TlRecords* self) {
    return ViewOf(self).owner->Count();
}

int32_t RecordStore::AbiFieldCount(const TlRecords* self, int32_t record) {
    const RecordStore& store = *ViewOf(self).owner;
    if (record < 0 || record >= store.Count()) {
        return 0;
    }
    return store.FieldCount(record);
}

const char* RecordStore::AbiFieldName(const TlRecords* self, int32_t record, int32_t field) {
    const AbiView& view = ViewOf(self);
    const RecordStore& store = *view.owner;
    if (record < 0 || record >= store.Count() || field < 0 || field >= store.FieldCount(record)) {
        return "";
    }
    const NameSetData& set = store.name_sets_[static_cast<size_t>(store.NameSetOf(record))];
    const auto& names = view.encoding == TextEncoding::kCp1251 ? set.cp1251 : set.utf8;
    return names[static_cast<size_t>(field)].c_str();
}

TlVariant RecordStore::AbiValue(const TlRecords* self, int32_t record, int32_t field) {
    const AbiView& view = ViewOf(self);
    const RecordStore& store = *view.owner;
    if (record < 0 || record >= store.Count() || field < 0 || field >= store.FieldCount(record)) {
        return TlVariant{};
    }
    if (store.IsPacked()) {
        return store.PackedValue(static_cast<size_t>(record), field);
    }
    TlVariant raw =
        store.values_[store.records_[static_cast<size_t>(record)].first_value + static_cast<size_t>(field)];
    if (raw.kind == TL_VT_STRING) {
        const StoredText& text = store.texts_[static_cast<size_t>(raw.v.i64)];
        raw.v.str = view.encoding == TextEncoding::kCp1251 ? text.cp1251.c_str() : text.utf8.c_str();
    }
    return raw;
}

void RecordStore::AbiRelease(TlRecords* self) {
    delete ViewOf(self).owner;
}

} // namespace tl
