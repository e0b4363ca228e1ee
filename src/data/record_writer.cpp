#include "tldata/record_writer.hpp"

#include <dlfcn.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace tl {
namespace {

template <typename Fn>
Fn As(void* address) {
    return reinterpret_cast<Fn>(address);
}

void* OpenDbd() {
    void* handle = dlopen(DbdBinding::kLibraryName, RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) {
        handle = dlopen(DbdBinding::kLibraryName, RTLD_NOW);
    }
    return handle;
}

int32_t WriteList(const DbdBinding& dbd, std::string_view table, const TDBRecords& records, void* context,
                  uint8_t flag) {
    const std::string name(table);
    // Our database library speaks UTF-8.
    const TlRecords* abi = records.AsAbi(TextEncoding::kUtf8);
    if (dbd.add_records_ex != nullptr) {
        return dbd.add_records_ex(name.c_str(), abi, context, flag);
    }
    if (dbd.add_records != nullptr) {
        return dbd.add_records(name.c_str(), abi, context);
    }
    return -1;
}

} // namespace

const DbdBinding& DbdBinding::Process() {
    static const DbdBinding binding(OpenDbd());
    return binding;
}

DbdBinding::DbdBinding(void* library) {
    if (library == nullptr) {
        return;
    }
    for (size_t i = 0; i < kFunctionNames.size(); ++i) {
        addresses_[i] = dlsym(library, kFunctionNames[i]);
    }
    add_records = As<DbAddRecordsFn>(addresses_[0]);
    add_record = As<DbAddRecordFn>(addresses_[1]);
    add_records_ex = As<DbAddRecordsExFn>(addresses_[2]);
    add_records_ex2 = As<DbAddRecordsExFn>(addresses_[3]);
    add_record_ex = As<DbAddRecordExFn>(addresses_[4]);
}

bool DbdBinding::IsBound(std::string_view name) const {
    for (size_t i = 0; i < kFunctionNames.size(); ++i) {
        if (name == kFunctionNames[i]) {
            return addresses_[i] != nullptr;
        }
    }
    return false;
}

int32_t WriteRecords(const DbdBinding& dbd, std::string_view table, const TDBRecords& records, void* context,
                     uint8_t flag) {
    return WriteList(dbd, table, records, context, flag);
}

int32_t WriteRecords(const DbdBinding& dbd, std::string_view table, const TDBRecordsEx& records,
                     void* context, uint8_t flag) {
    if (dbd.add_records_ex2 != nullptr) {
        const std::string name(table);
        return dbd.add_records_ex2(name.c_str(), records.AsAbi(TextEncoding::kUtf8), context, flag);
    }
    // Older libraries take only plain lists: copy the records into a temporary one.
    TDBRecords plain;
    std::vector<std::string> names;
    std::vector<Variant> values;
    for (int32_t i = 0; i < records.Count(); ++i) {
        records.GetRecord(i, names, values);
        plain.Add(names, values);
    }
    return WriteList(dbd, table, plain, context, flag);
}

int32_t WriteRecord(const DbdBinding& dbd, std::string_view table, std::span<const std::string> names,
                    uint8_t flag, std::span<const Variant> values) {
    if (dbd.add_record_ex == nullptr && dbd.add_record == nullptr) {
        return -1;
    }
    if (names.size() != values.size()) {
        throw std::invalid_argument("record values do not match its field names");
    }
    const std::string name(table);
    std::vector<const char*> name_ptrs;
    std::vector<TlVariant> raw;
    name_ptrs.reserve(names.size());
    raw.reserve(values.size());
    for (size_t i = 0; i < names.size(); ++i) {
        name_ptrs.push_back(names[i].c_str());
        raw.push_back(ToAbiScalar(values[i]));
        if (values[i].Kind() == TL_VT_STRING) {
            raw.back().v.str = values[i].Text().c_str();
        }
    }
    const auto count = static_cast<int32_t>(names.size());
    if (dbd.add_record_ex != nullptr) {
        return dbd.add_record_ex(name.c_str(), name_ptrs.data(), flag, raw.data(), count);
    }
    return dbd.add_record(name.c_str(), name_ptrs.data(), raw.data(), count);
}

} // namespace tl
