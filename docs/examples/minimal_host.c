/*
 * minimal_host: the smallest complete host of the loss-calculation driver, in C.
 *
 *   minimal_host DRIVER TASKKEY [DATABASE]
 *
 * Loads the driver, hands it a host service, starts one task with the identifier 1, waits for its
 * completion message and prints the result. Queries are answered with no result set; records
 * are written with the database library when a database is given.
 */
#include "tlosses/abi.h"
#include "tlplatform/dbd.h"
#include "tlplatform/wm.h"

#include <dlfcn.h>
#include <iconv.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define COMPLETION_MESSAGE 0x8001u /* answered to GetParam 6 */
#define QUERY_DONE_MESSAGE 0x8002u /* our own: a query is ready to be delivered */
#define MAX_PENDING 16
#define WAIT_MS 30000

/* The service object: the vtable pointer first, then the host's own fields. */
typedef struct MinimalHost {
    TlHostService base;
    uint32_t references;
    uint32_t queue;
    uint32_t completion_message;
    const char* name;
} MinimalHost;

/* Completions waiting to be delivered: the handler must run after ExecQuery has returned. */
typedef struct PendingQuery {
    int32_t task_id;
    TlDataReadyProc handler;
    void* context;
} PendingQuery;

static PendingQuery pending[MAX_PENDING];
static int pending_count;

/* Driver texts are Windows-1251; the terminal wants UTF-8. */
static void PrintText(const char* cp1251) {
    char buffer[1024];
    char* in = (char*)cp1251;
    size_t in_left = strlen(cp1251);
    char* out = buffer;
    size_t out_left = sizeof buffer - 1;
    iconv_t codec = iconv_open("UTF-8", "CP1251");
    if (codec == (iconv_t)-1) {
        fputs(cp1251, stdout);
        return;
    }
    iconv(codec, &in, &in_left, &out, &out_left);
    iconv_close(codec);
    *out = '\0';
    fputs(buffer, stdout);
}

static void OnStatus(const char* scenario, const char* line) {
    PrintText(scenario);
    fputs(": ", stdout);
    PrintText(line);
    fputs("\n", stdout);
}

static int32_t QueryInterface(TlHostService* self, const void* iid, void** out) {
    (void)self;
    (void)iid;
    if (out != NULL) {
        *out = NULL;
    }
    return -1;
}

static uint32_t AddRef(TlHostService* self) {
    return ++((MinimalHost*)self)->references;
}

static uint32_t Release(TlHostService* self) {
    return --((MinimalHost*)self)->references;
}

static void ExecQuery(TlHostService* self, int32_t task_id, const char* sql, const TlVariant* params,
                      int32_t param_count, TlDataReadyProc handler, void* context) {
    MinimalHost* host = (MinimalHost*)self;
    (void)sql;
    (void)params;
    (void)param_count;
    if (pending_count == MAX_PENDING) {
        fprintf(stderr, "minimal_host: too many queries at once\n");
        return;
    }
    pending[pending_count].task_id = task_id;
    pending[pending_count].handler = handler;
    pending[pending_count].context = context;
    ++pending_count;
    WmPostMessage(host->queue, QUERY_DONE_MESSAGE, 0, 0);
}

static void ReleaseDataSet(TlHostService* self, TlResultSet** result) {
    (void)self;
    if (result != NULL && *result != NULL) {
        DBFreeDataSet(result);
    }
    if (result != NULL) {
        *result = NULL;
    }
}

/* Field names of result records are plain ASCII, so they need no conversion for the database
 * library, which speaks UTF-8. */
static void StoreRecords(TlHostService* self, const char* table, TlRecords* records) {
    (void)self;
    if (DBIsDatabaseOpen() && DBAddRecords(table, records, NULL) < 0) {
        fprintf(stderr, "minimal_host: writing into %s failed: %s\n", table, DBLastError());
    }
    records->vtbl->Release(records);
}

static void Reserved(TlHostService* self) {
    (void)self;
}

static bool GetParam(TlHostService* self, int32_t index, void** value) {
    MinimalHost* host = (MinimalHost*)self;
    TlStatusProc status = OnStatus;
    switch (index) {
    case TL_PARAM_1:
        *value = &host->name;
        return true;
    case TL_PARAM_COMPLETION_MESSAGE:
        *value = &host->completion_message;
        return true;
    case TL_PARAM_COMPLETION_WINDOW:
        *value = &host->queue;
        return true;
    case TL_PARAM_STATUS_CALLBACK:
        /* The value is the function itself; copied, since ISO C has no cast between the two. */
        memcpy(value, &status, sizeof status);
        return true;
    default:
        return false; /* 3, 4, 5, 11 and 100 are optional */
    }
}

static const TlHostServiceVtbl kVtbl = {QueryInterface, AddRef,   Release,  ExecQuery, ReleaseDataSet,
                                        StoreRecords,   Reserved, Reserved, GetParam};

static void* Resolve(void* library, const char* name) {
    void* symbol = dlsym(library, name);
    if (symbol == NULL) {
        fprintf(stderr, "minimal_host: the driver has no export %s\n", name);
        exit(2);
    }
    return symbol;
}

int main(int argc, char** argv) {
    MinimalHost host = {{&kVtbl}, 1, 0, COMPLETION_MESSAGE, "minimal_host"};
    TlInitDriverFn init_driver;
    TlDeInitDriverFn deinit_driver;
    TlStartActionFn start_action;
    TlDecodeResultFn decode;
    void* symbol;
    void* library;
    int32_t code = -1;
    int finished = 0;

    if (argc < 3) {
        fprintf(stderr, "usage: minimal_host DRIVER TASKKEY [DATABASE]\n");
        return 2;
    }
    library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (library == NULL) {
        fprintf(stderr, "minimal_host: %s\n", dlerror());
        return 2;
    }
    symbol = Resolve(library, "InitDriver");
    memcpy(&init_driver, &symbol, sizeof symbol);
    symbol = Resolve(library, "DeInitDriver");
    memcpy(&deinit_driver, &symbol, sizeof symbol);
    symbol = Resolve(library, "StartAction");
    memcpy(&start_action, &symbol, sizeof symbol);
    symbol = Resolve(library, "GetStartActionDecodeResult");
    memcpy(&decode, &symbol, sizeof symbol);

    /* The driver reads its task settings through the process-wide database connection. */
    if (argc > 3 && DBOpenDatabase(argv[3]) != 0) {
        fprintf(stderr, "minimal_host: %s\n", DBLastError());
        return 2;
    }
    host.queue = WmCreateQueue();

    init_driver(&host.base);
    start_action(argv[2], 1); /* an ASCII key reads the same in Windows-1251 */
    while (!finished) {
        TlWmMessage message;
        if (!WmGetMessage(host.queue, &message, WAIT_MS)) {
            fprintf(stderr, "minimal_host: no completion within %d ms\n", WAIT_MS);
            break;
        }
        if (message.message == QUERY_DONE_MESSAGE && pending_count > 0) {
            PendingQuery query = pending[0];
            TlResultSet* result = NULL; /* this host answers every query with no result set */
            memmove(pending, pending + 1, (size_t)(pending_count - 1) * sizeof pending[0]);
            --pending_count;
            query.handler(query.context, query.task_id, &result);
        } else if (message.message == COMPLETION_MESSAGE && message.wparam == 1) {
            code = (int32_t)message.lparam;
            finished = 1;
        }
    }
    deinit_driver();
    if (finished) {
        printf("task 1 finished: %d ", code);
        PrintText(decode(code));
        printf("\n");
    }
    dlclose(library); /* the driver drops its reference to the service */
    WmDestroyQueue(host.queue);
    DBCloseDatabase();
    return finished ? 0 : 1;
}
