// Writing record lists straight to the database library (the dialogs' road; a calculation run
// stores through the host instead). The library's record functions are looked up by name once,
// and each write uses the best one the installed library offers.
#pragma once

#include "tldata/db_records.hpp"
#include "tldata/db_records_ex.hpp"
#include "tldata/variant.hpp"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tl {

using DbAddRecordsFn = int32_t (*)(const char* table, const TlRecords* records, void* context);
using DbAddRecordsExFn = int32_t (*)(const char* table, const TlRecords* records, void* context,
                                     uint8_t flag);
using DbAddRecordFn = int32_t (*)(const char* table, const char* const* names, const TlVariant* values,
                                  int32_t count);
using DbAddRecordExFn = int32_t (*)(const char* table, const char* const* names, uint8_t flag,
                                    const TlVariant* values, int32_t count);

class DbdBinding {
public:
    // Every function name looked up, in lookup order.
    static constexpr std::array<const char*, 15> kFunctionNames = {
        "DBAddRecords",          "DBAddRecord",         "DBAddRecordsEx",
        "DBAddRecordsEx2",       "DBAddRecordEx",       "DBTryToInterruptThreadTask",
        "DBExecSqlEx",           "DBProcessRLS",        "DBGenerateItemCode",
        "DBIsItemCodeExist",     "DBCreateTempTable",   "DBDropTempTable",
        "DBHasTempTableSupport", "DBGetSELECTForTable", "DBGetDBDProperties"};
    static constexpr const char* kLibraryName = "libtldbd.so";

    // The process's binding, made at first use: the library already loaded in the process, else
    // loaded by name. Functions the library lacks stay unbound.
    static const DbdBinding& Process();

    // A binding over a library handle from dlopen (null: nothing bound).
    explicit DbdBinding(void* library);

    bool IsBound(std::string_view name) const;

    DbAddRecordsFn add_records = nullptr;
    DbAddRecordFn add_record = nullptr;
    DbAddRecordsExFn add_records_ex = nullptr;
    DbAddRecordsExFn add_records_ex2 = nullptr;
    DbAddRecordExFn add_record_ex = nullptr;

private:
    std::array<void*, kFunctionNames.size()> addresses_{};
};

// Writes the records through the best function bound; table, context and flag are passed on
// unchanged. Returns the library function's result, or -1 when it has no record-list function.
int32_t WriteRecords(const DbdBinding& dbd, std::string_view table, const TDBRecords& records, void* context,
                     uint8_t flag);
int32_t WriteRecords(const DbdBinding& dbd, std::string_view table, const TDBRecordsEx& records,
                     void* context, uint8_t flag);
// One record; returns the library function's result, or -1 when it has neither record function.
int32_t WriteRecord(const DbdBinding& dbd, std::string_view table, std::span<const std::string> names,
                    uint8_t flag, std::span<const Variant> values);

} // namespace tl
