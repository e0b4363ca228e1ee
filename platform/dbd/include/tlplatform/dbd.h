/*
 * Database library: the process-wide connection to the metering database and the functions that
 * the metering system's modules import from it. Backends: SQLite ("sqlite:PATH" or a plain path)
 * and PostgreSQL ("postgresql://..."). Strings are UTF-8, string variants included.
 *
 * SQL texts use named parameters (":sdt"); the k-th occurrence of a parameter name in the text is
 * bound to the k-th value given. Result sets are TlResultSet objects (see tlosses/abi.h) whose
 * rows are read into memory when the query runs.
 */
#ifndef TLPLATFORM_DBD_H
#define TLPLATFORM_DBD_H

#include "tlosses/abi.h"

#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TL_PLATFORM_API __attribute__((visibility("default")))

/* Opens the process-wide connection to an existing database, closing an earlier one. Returns 0 on
 * success, -1 on failure (a missing database file included; the earlier connection then stays
 * open); DBLastError then tells why. New databases are made with tl::db::Connection::Open and
 * tl::db::InitSchema. */
TL_PLATFORM_API int32_t DBOpenDatabase(const char* uri);
TL_PLATFORM_API void DBCloseDatabase(void);
TL_PLATFORM_API bool DBIsDatabaseOpen(void);
/* Text of the last failure on this thread (empty when none). */
TL_PLATFORM_API const char* DBLastError(void);

/* Runs `sql` on the process-wide connection. With `want_result` 1 a result set is stored in
 * *result (the caller frees it with DBFreeDataSet); with 0 the statement is only executed.
 * Returns 0 on success, -1 on failure. */
TL_PLATFORM_API int32_t DBExecSQL(TlResultSet** result, const char* sql, const TlVariant* params,
                                  int32_t param_count, int32_t want_result);
TL_PLATFORM_API void DBFreeDataSet(TlResultSet** result);

/* The 64-bit status word of the set's current row (0 for a NULL set). */
TL_PLATFORM_API int64_t DBGetStatusInt(TlResultSet* result);
/* A field of the set's current row as UTF-8 text (numbers in decimal, null as ""), for the names
 * that the dialogs show. Valid until the next call for the same set or until the set is freed.
 * NULL for a set that this library did not make. */
TL_PLATFORM_API const char* DBGetFieldText(TlResultSet* result, int32_t field);

/* Record writers: insert or replace every record into `table` in one transaction (nothing is
 * written when one record fails). `context` is accepted and ignored. They return the number of
 * rows written, or -1 on failure. DBAddRecords does not release the records. A DOUBLE value of the
 * field `TvkStatus` carries the 64-bit status word in its eight bytes and is stored as that word. */
TL_PLATFORM_API int32_t DBAddRecords(const char* table, const TlRecords* records, void* context);
TL_PLATFORM_API int32_t DBAddRecord(const char* table, const char* const* names, const TlVariant* values,
                                    int32_t count);

#ifdef __cplusplus
}
#endif

#endif
