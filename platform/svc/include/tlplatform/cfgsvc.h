/*
 * Settings service: typed named values in named storages and sections, kept in the table
 * `settings` of the process-wide database (see dbd.h; tl::db::InitSchema creates the table).
 * Strings are UTF-8.
 *
 * The current storage is a per-thread setting made by SvcSetStorageName (empty until then); every
 * other call works on (current storage, section, key). Storage, section and key names compare
 * without regard to letter case (Latin and Cyrillic), as in the Windows settings stores of the
 * metering system; a key keeps the spelling it was first written with, and SvcReadSection lists
 * it so.
 *
 * Reads never fail: a missing key, no open database or a database error give the default. A value
 * read as another type than it was written with converts where that makes sense (an integer read
 * as a string gives its decimal text, the string "12" read as an integer gives 12, "true"/"false"
 * or a number read as a boolean, a number or "dd.mm.yyyy[ hh:nn[:ss[.zzz]]]" read as a date-time,
 * a date-time read as a string gives "dd.mm.yyyy hh:nn:ss.zzz", a boolean read as a string "1" or
 * "0"); a value that does not convert gives the default. Writes and deletions report failure only
 * when there is no process-wide database or it refuses the write (false / 0); deleting a missing
 * key or erasing an empty section succeeds.
 *
 * Returned strings are valid until the next call of the same function on the same thread.
 */
#ifndef TLPLATFORM_CFGSVC_H
#define TLPLATFORM_CFGSVC_H

#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TL_PLATFORM_API __attribute__((visibility("default")))

TL_PLATFORM_API void SvcSetStorageName(const char* storage);

TL_PLATFORM_API const char* SvcReadString(const char* section, const char* key, const char* default_value);
TL_PLATFORM_API bool SvcWriteString(const char* section, const char* key, const char* value);
TL_PLATFORM_API int32_t SvcReadInteger(const char* section, const char* key, int32_t default_value);
TL_PLATFORM_API bool SvcWriteInteger(const char* section, const char* key, int32_t value);
TL_PLATFORM_API bool SvcReadBool(const char* section, const char* key, bool default_value);
TL_PLATFORM_API bool SvcWriteBool(const char* section, const char* key, bool value);
TL_PLATFORM_API double SvcReadDateTime(const char* section, const char* key, double default_value);
TL_PLATFORM_API bool SvcWriteDateTime(const char* section, const char* key, double value);

/* Calls each(context, key) for every key of the section, in the order the keys were first
 * written (a rewrite or a rename keeps the place). Returns the number of keys. `each` may be NULL
 * (just counting) and may call the service itself. */
typedef void (*TlSvcKeyProc)(void* context, const char* key);
TL_PLATFORM_API int32_t SvcReadSection(const char* section, TlSvcKeyProc each, void* context);

/* Calls each(context, name) for every section directly below `section`: the next part of the names
 * of the sections that begin with it ("Demo" for "\Scripts\Demo\Object\" below "\Scripts\"),
 * each once, in the spelling it was first written with, ordered by name without regard to case.
 * Returns the number of names. `section` should end with a backslash. */
TL_PLATFORM_API int32_t SvcReadSections(const char* section, TlSvcKeyProc each, void* context);

TL_PLATFORM_API bool SvcValueExists(const char* section, const char* key);
TL_PLATFORM_API bool SvcDeleteKey(const char* section, const char* key);
TL_PLATFORM_API bool SvcEraseSection(const char* section);
/* Renames a key, keeping its value and its place in the listing order. True when the key bears
 * the new name afterwards; false when the old key is missing or the new name belongs to another key,
 * which then stays as it was (a rename never loses a value). `option` is accepted and ignored. */
TL_PLATFORM_API bool SvcRenameParam(const char* section, const char* old_key, const char* new_key,
                                    bool option);

#ifdef __cplusplus
}
#endif

#endif
