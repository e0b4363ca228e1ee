/*
 * Settings service: typed named values in named storages and sections, kept in the table
 * `settings` of the process-wide database (see dbd.h). Strings are UTF-8.
 *
 * The current storage is a per-thread setting made by SvcSetStorageName; every other call works
 * on (current storage, section, key). A missing key returns the given default; reads never fail.
 * Writes and deletions report failure only when there is no process-wide database or it refuses
 * the write (false / 0).
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
 * written. Returns the number of keys. */
typedef void (*TlSvcKeyProc)(void* context, const char* key);
TL_PLATFORM_API int32_t SvcReadSection(const char* section, TlSvcKeyProc each, void* context);

TL_PLATFORM_API bool SvcValueExists(const char* section, const char* key);
TL_PLATFORM_API bool SvcDeleteKey(const char* section, const char* key);
TL_PLATFORM_API bool SvcEraseSection(const char* section);
/* Renames a key, keeping its value and its place in the listing order. True when the key bears
 * the new name afterwards. `option` is accepted and ignored. */
TL_PLATFORM_API bool SvcRenameParam(const char* section, const char* old_key, const char* new_key, bool option);

#ifdef __cplusplus
}
#endif

#endif
