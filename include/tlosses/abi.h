/*
 * tlosses: the C ABI between the loss-calculation driver (libtlosses.so) and its host.
 *
 * The host loads the driver with dlopen, resolves the ten exports below and calls them on one
 * thread at a time (never two entry points, or an entry point and a completion handler, at once).
 *
 * Text encoding. Every `const char*` that crosses this boundary (export arguments and results,
 * the status callback, the host service interface, string variants, record field names) is a
 * NUL-terminated Windows-1251 byte string.
 *
 * Ownership, in one place:
 *  - Strings passed to the driver are borrowed for the duration of the call; the driver copies
 *    what it keeps.
 *  - Strings returned by the driver belong to the driver and stay valid at least until the next
 *    call of the same export on the same thread.
 *  - The host service interface is reference-counted; the driver adds one reference in InitDriver
 *    and releases it when the library is unloaded.
 *  - Parameter variants given to ExecQuery are borrowed for the duration of that call: the host
 *    copies what it needs before returning.
 *  - A result set belongs to the host. The host delivers it through the completion handler in a
 *    variable of its own; whoever takes it (the driver or the handler) releases it exactly once
 *    with ReleaseDataSet, which also sets the variable to NULL.
 *  - Records given to StoreRecords pass to the host, which must call records->vtbl->Release once
 *    when it is done with them (also when writing fails).
 */
#ifndef TLOSSES_ABI_H
#define TLOSSES_ABI_H

#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(TLOSSES_BUILDING_DRIVER)
#define TL_EXPORT __attribute__((visibility("default")))
#else
#define TL_EXPORT
#endif

/* ---- Variants ------------------------------------------------------------------------------ */

typedef enum TlVariantKind {
    TL_VT_NULL = 0,
    TL_VT_INT32 = 1,
    TL_VT_INT64 = 2,
    TL_VT_DOUBLE = 3,
    TL_VT_DATETIME = 4, /* days since 30 December 1899, local wall-clock time in the fraction */
    TL_VT_BOOL = 5,
    TL_VT_STRING = 6 /* Windows-1251, borrowed as described above */
} TlVariantKind;

typedef struct TlVariant {
    int32_t kind; /* a TlVariantKind */
    union {
        int32_t i32;
        int64_t i64;
        double f64;
        double date_time;
        int32_t boolean; /* 0 or 1 */
        const char* str;
    } v;
} TlVariant;

/* ---- Result sets (implemented by the host) --------------------------------------------------- */

typedef struct TlResultSet TlResultSet;

typedef struct TlResultSetVtbl {
    /* Index of the field with this name, compared without regard to ASCII letter case; -1 when
     * the set has no such field. Indexes stay valid for the life of the set. */
    int32_t (*FieldIndex)(TlResultSet* self, const char* name);
    /* Values of the current row. A NULL value reads as 0. */
    double (*AsDateTime)(TlResultSet* self, int32_t field);
    double (*AsDouble)(TlResultSet* self, int32_t field);
    int32_t (*AsInteger)(TlResultSet* self, int32_t field);
    bool (*IsNull)(TlResultSet* self, int32_t field);
    /* True when the set holds no row at all. */
    bool (*IsEmpty)(TlResultSet* self);
    void (*First)(TlResultSet* self);
    void (*Next)(TlResultSet* self);
    /* True when the cursor has moved past the last row (or the set is empty). */
    bool (*Eof)(TlResultSet* self);
    /* 64-bit status word of the current row (column TvkStatus; 0 when absent). The driver reads it
     * through DBGetStatusInt of the database library, which calls this slot. */
    int64_t (*StatusWord)(TlResultSet* self);
} TlResultSetVtbl;

struct TlResultSet {
    const TlResultSetVtbl* vtbl;
};

/* ---- Records handed to StoreRecords (implemented by the driver) ------------------------------- */

typedef struct TlRecords TlRecords;

typedef struct TlRecordsVtbl {
    int32_t (*Count)(const TlRecords* self);
    int32_t (*FieldCount)(const TlRecords* self, int32_t record);
    /* Field name; valid until Release. */
    const char* (*FieldName)(const TlRecords* self, int32_t record, int32_t field);
    /* Field value; a string value is valid until Release. */
    TlVariant (*Value)(const TlRecords* self, int32_t record, int32_t field);
    /* The host calls this exactly once when it is done with the records. */
    void (*Release)(TlRecords* self);
} TlRecordsVtbl;

struct TlRecords {
    const TlRecordsVtbl* vtbl;
};

/* ---- Host service interface (implemented by the host) ---------------------------------------- */

/* Completion handler of the driver. The host calls it once per ExecQuery, after ExecQuery has
 * returned, on the thread that runs its event loop, never concurrently with an export. `result`
 * points at the host's result-set variable (NULL inside when there is no set, e.g. for an empty
 * SQL text). After the call the host must not touch the set if the variable was cleared. */
typedef void (*TlDataReadyProc)(void* context, int32_t task_id, TlResultSet** result);

/* Status callback (GetParam 8): scenario name and one status line. */
typedef void (*TlStatusProc)(const char* scenario, const char* line);

typedef struct TlHostService TlHostService;

typedef struct TlHostServiceVtbl {
    /* Reference counting. QueryInterface may simply answer -1 (not supported). */
    int32_t (*QueryInterface)(TlHostService* self, const void* iid, void** out);
    uint32_t (*AddRef)(TlHostService* self);
    uint32_t (*Release)(TlHostService* self);
    /* Runs `sql` in the background with `params` bound to the named parameters (":name") in order
     * of appearance, then calls handler(context, task_id, &variable). An empty `sql` delivers a
     * NULL set through the handler all the same. */
    void (*ExecQuery)(TlHostService* self, int32_t task_id, const char* sql, const TlVariant* params,
                      int32_t param_count, TlDataReadyProc handler, void* context);
    /* Frees the set the variable holds and sets the variable to NULL. */
    void (*ReleaseDataSet)(TlHostService* self, TlResultSet** result);
    /* Writes every record as one row of `table`, then releases the records. */
    void (*StoreRecords)(TlHostService* self, const char* table, TlRecords* records);
    /* Two slots the driver never calls. */
    void (*Reserved1)(TlHostService* self);
    void (*Reserved2)(TlHostService* self);
    /* Host parameters (see TlParam). Returns true when the host supplies the parameter. For 8 and
     * 11 *value is the value itself; for the others it points at the host's storage of the value,
     * which the driver copies during the call. */
    bool (*GetParam)(TlHostService* self, int32_t index, void** value);
} TlHostServiceVtbl;

struct TlHostService {
    const TlHostServiceVtbl* vtbl;
};

/* Parameter indexes asked by InitDriver, in this order. */
enum TlParam {
    TL_PARAM_1 = 1,                   /* const char* const*: a string, kept only */
    TL_PARAM_3 = 3,                   /* const uint8_t*: kept only */
    TL_PARAM_4 = 4,                   /* const uint32_t*: kept only */
    TL_PARAM_5 = 5,                   /* const uint32_t*: kept only */
    TL_PARAM_COMPLETION_MESSAGE = 6,  /* const uint32_t*: message number of completions */
    TL_PARAM_COMPLETION_WINDOW = 7,   /* const uint32_t*: queue handle (platform/wm) */
    TL_PARAM_STATUS_CALLBACK = 8,     /* TlStatusProc itself */
    TL_PARAM_APPLICATION = 11,        /* opaque application object, kept for the dialogs */
    TL_PARAM_LOG_DIRECTORY = 100,     /* const char* const*: directory for tlosses.log (optional) */
    TL_PARAM_DECIMAL_SEPARATOR = 101, /* const char* const*: "." or ",", overrides the locale's (optional) */
    TL_PARAM_SCRIPT_INCLUDE_DIRECTORY = 102, /* const char* const*: {$I} directory (optional) */
    TL_PARAM_INTERRUPT_FLAG = 103, /* const volatile int32_t*, kept: non-zero stops the steps (optional) */
    TL_PARAM_CLOCK = 104           /* const double*: the local date-time taken as "now" (optional) */
};

/* ---- The ten exports ------------------------------------------------------------------------ */

TL_EXPORT void InitDriver(TlHostService* service);
TL_EXPORT void DeInitDriver(void);
TL_EXPORT const char* GetFunctionName(void);
TL_EXPORT bool GetDBAccessNecessity(void);
TL_EXPORT void ShowSpecificDataDialog(int32_t ignored, const char* task_key);
TL_EXPORT bool ShowSpecificDataDialogEx(int32_t ignored, const char* task_key);
TL_EXPORT void StartAction(const char* task_key, int32_t task_id);
TL_EXPORT void StopAction(int32_t ignored, int32_t task_id);
TL_EXPORT const char* GetStartActionDecodeResult(int32_t code);
TL_EXPORT const char* GetStopActionDecodeResult(int32_t code);

/* Function-pointer types, for hosts that resolve the exports with dlsym. */
typedef void (*TlInitDriverFn)(TlHostService*);
typedef void (*TlDeInitDriverFn)(void);
typedef const char* (*TlGetFunctionNameFn)(void);
typedef bool (*TlGetDBAccessNecessityFn)(void);
typedef void (*TlShowSpecificDataDialogFn)(int32_t, const char*);
typedef bool (*TlShowSpecificDataDialogExFn)(int32_t, const char*);
typedef void (*TlStartActionFn)(const char*, int32_t);
typedef void (*TlStopActionFn)(int32_t, int32_t);
typedef const char* (*TlDecodeResultFn)(int32_t);

#ifdef __cplusplus
}
#endif

#endif /* TLOSSES_ABI_H */
