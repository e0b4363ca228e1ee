// Storage shared by the record lists handed to the host: field-name sets kept once per shape and
// referenced by index, all values of all records in one contiguous array. A pass can hold
// millions of rows, so nothing is allocated per record beyond the values themselves.
//
// Result rows (AddResultRow) have a compact form of their own: 24 bytes a row for the two values
// and two indexes, one into the pass's elements (each address kept once) and one into the stamp,
// parameter, status word and receive stamp that neighbouring rows share (kept once: 32 bytes more
// only where a row's differ from those of the rows just before).
// They are kept in blocks of a fixed number of rows, so that a pass's rows can be added while its
// data are still read, with no count beforehand and no copying as they grow.
// They read back, on the C++ side and through the C interface alike, as records of the nine result
// fields. A list holds rows of one form at a time: a record of another shape added after result
// rows turns them into ordinary records first.
#pragma once

#include "tldata/result_row.hpp"
#include "tldata/variant.hpp"
#include "tlosses/abi.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace tl {

// How names and string values look through the C interface: the host's boundary is
// Windows-1251, our own database library speaks UTF-8.
enum class TextEncoding { kCp1251, kUtf8 };

class RecordStore;

// One record of a list, read back on the C++ side.
class RecordView {
public:
    RecordView(const RecordStore& store, int32_t index) : store_(&store), index_(index) {}
    int32_t FieldCount() const;
    const std::string& Name(int32_t field) const;
    Variant Value(int32_t field) const;

private:
    const RecordStore* store_;
    int32_t index_;
};

class RecordStore {
public:
    virtual ~RecordStore();
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    int32_t Count() const { return static_cast<int32_t>(records_.size() + packed_count_); }
    // Fields of a record: as many as it has both a name and a value for.
    int32_t FieldCount(int32_t record) const;
    const std::string& FieldName(int32_t record, int32_t field) const;
    Variant Value(int32_t record, int32_t field) const;

    int32_t NameSetCount() const { return static_cast<int32_t>(name_sets_.size()); }
    // Index of the name set the record uses; records of one shape share it.
    int32_t NameSetOf(int32_t record) const;
    const std::vector<std::string>& NameSet(int32_t index) const;

    // Frees every record and every name set.
    void Clear();
    // Room for `records` more records of `values_per_record` values each.
    void Reserve(size_t records, size_t values_per_record);

    // Appends a result row in the compact form (an ordinary record when the list already holds
    // records of another shape).
    void AddResultRow(const ResultRow& row);
    // Room for `rows` more result rows (a hint: the rows are kept in blocks, which need none).
    void ReserveResultRows(size_t rows);
    // Bytes held for the records' values (names not counted), for measuring.
    size_t ValueBytes() const;

    // The records through the C interface, borrowed: the caller must not call Release.
    const TlRecords* AsAbi(TextEncoding encoding) const;
    // Gives the records away through the C interface: the receiver calls Release exactly once.
    static TlRecords* HandOver(std::unique_ptr<RecordStore> records, TextEncoding encoding);

protected:
    RecordStore();

    // Index of the set with these names, compared exactly or without regard to case; a new set
    // is appended when none matches.
    int32_t FindOrAddNameSet(std::span<const std::string> names, bool ignore_case);
    void AppendRecord(int32_t name_set, std::span<const Variant> values);
    // All values the record was given, also those beyond its names.
    int32_t StoredValueCount(int32_t record) const;
    Variant StoredValue(int32_t record, int32_t index) const;

private:
    struct Slot {
        int32_t name_set;
        uint32_t value_count;
        size_t first_value;
    };
    // A result row's own values, the index of its element and that of the fields it shares with
    // its neighbours.
    struct PackedRow {
        double value0;
        double value1;
        uint32_t element;
        uint32_t shared;
    };
    struct ElementKey {
        int32_t object;
        int32_t item;
        int32_t type;

        bool operator==(const ElementKey&) const = default;
    };
    struct SharedFields {
        int64_t status;
        double data_date;
        double rcv_stamp;
        int32_t par_number;

        bool operator==(const SharedFields& other) const;
    };
    struct StoredText {
        std::string utf8;
        std::string cp1251;
    };
    struct NameSetData {
        std::vector<std::string> utf8;
        std::vector<std::string> cp1251;
    };
    // The TlRecords object the host sees, with a way back to its owner.
    struct AbiView {
        TlRecords base;
        const RecordStore* owner;
        TextEncoding encoding;
    };

    static const AbiView& ViewOf(const TlRecords* self);
    static int32_t AbiCount(const TlRecords* self);
    static int32_t AbiFieldCount(const TlRecords* self, int32_t record);
    static const char* AbiFieldName(const TlRecords* self, int32_t record, int32_t field);
    static TlVariant AbiValue(const TlRecords* self, int32_t record, int32_t field);
    static void AbiRelease(TlRecords* self);
    static const TlRecordsVtbl kVtbl;

    const Slot& SlotAt(int32_t record, int32_t field) const;
    bool IsPacked() const { return packed_count_ > 0; }
    const PackedRow& PackedAt(size_t record) const {
        return packed_[record >> kPackedBlockShift][record & (kPackedBlockRows - 1)];
    }
    int32_t ResultNameSet();
    uint32_t SharedIndex(const SharedFields& fields);
    uint32_t ElementIndex(const ElementKey& key);
    void GrowElementSlots();
    // The field of a packed row as the C interface hands it over.
    TlVariant PackedValue(size_t record, int32_t field) const;
    TlVariant PackedField(const PackedRow& row, int32_t field) const;
    // Turns the packed rows into ordinary records, in their order.
    void UnpackResultRows();
    using PackedBlock = std::unique_ptr<PackedRow[]>;
    static PackedBlock NewBlock();
    static std::string JoinKey(std::span<const std::string> names, bool ignore_case);

    std::vector<NameSetData> name_sets_;
    std::unordered_map<std::string, int32_t> name_set_index_;
    int32_t last_name_set_ = -1;
    bool last_ignore_case_ = false;
    std::vector<Slot> records_;
    // Strings are stored as an index into texts_ in v.i64; the deque keeps their bytes in place.
    std::vector<TlVariant> values_;
    std::deque<StoredText> texts_;
    // 128 KiB a block.
    static constexpr unsigned kPackedBlockShift = 12;
    static constexpr size_t kPackedBlockRows = size_t{1} << kPackedBlockShift;
    std::vector<PackedBlock> packed_;
    size_t packed_count_ = 0;
    std::vector<SharedFields> shared_;
    // The distinct elements of the result rows, and an open-addressed index of them: slots hold an
    // element's index + 1, 0 when free.
    std::vector<ElementKey> elements_;
    std::vector<uint32_t> element_slots_;
    uint32_t last_element_ = 0;
    int32_t result_name_set_ = -1;
    AbiView abi_cp1251_;
    AbiView abi_utf8_;
};

} // namespace tl
