/*
 * Between the driver and its dialogs library (libtlosses_dialogs.so, Qt6 Widgets). The driver
 * loads the library with dlopen the first time a settings dialog is asked for and calls its one
 * entry point; nothing else of the library is visible. Texts are UTF-8.
 */
#ifndef TLDIALOGS_DIALOG_REQUEST_H
#define TLDIALOGS_DIALOG_REQUEST_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TL_DIALOGS_LIBRARY_NAME "libtlosses_dialogs.so"
#define TL_DIALOGS_ENTRY_NAME "TlShowTaskSettingsDialog"

/* One status line of the dialog (UTF-8), sent to the host under the task's scenario name. */
typedef void (*TlDialogStatusProc)(void* context, const char* line);

typedef struct TlDialogRequest {
    uint32_t size;        /* sizeof(TlDialogRequest): later fields are read only when present */
    const char* task_key; /* "\Scripts\<scenario>\" */
    /* The host's application object (host parameter 11), or NULL. When the host gave one, the
     * driver leaves the display check to the library. A QApplication that exists in the process
     * is used whatever this says; without one the library makes its own for the time the dialog
     * is shown, where a display is available. */
    void* application;
    TlDialogStatusProc status;
    void* status_context;
    char decimal_separator; /* of the numbers in parameter records: '.' or ',' */
    double now;             /* the local date-time taken as "now"; 0: the system clock */
} TlDialogRequest;

/* Result of the entry point. */
enum TlDialogOutcome {
    TL_DIALOG_CANCELLED = 0, /* closed other than by OK: nothing was written */
    TL_DIALOG_ACCEPTED = 1,  /* closed by OK: the settings were saved */
    TL_DIALOG_FAILED = -1    /* not shown, or failed; a status line said why */
};

typedef int32_t (*TlShowTaskSettingsDialogFn)(const TlDialogRequest* request);

#ifdef __cplusplus
}
#endif

#endif
