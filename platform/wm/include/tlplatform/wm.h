/*
 * Window messages: a process-wide registry of message queues addressed by 32-bit handles, so that
 * the driver can post a completion to the host's event loop without calling into the host.
 * Posting never blocks and never runs the receiver's code; the receiver takes messages later, in
 * its own loop. All functions are thread-safe.
 */
#ifndef TLPLATFORM_WM_H
#define TLPLATFORM_WM_H

#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TL_PLATFORM_API __attribute__((visibility("default")))

typedef struct TlWmMessage {
    uint32_t window;
    uint32_t message;
    intptr_t wparam;
    intptr_t lparam;
} TlWmMessage;

/* A new queue; handles are never 0 and never reused while the process lives (0 once all 2^32 - 1
 * handles have been given out, or when memory runs out). */
TL_PLATFORM_API uint32_t WmCreateQueue(void);
/* Drops the queue and any message still in it. */
TL_PLATFORM_API void WmDestroyQueue(uint32_t window);
/* Appends a message to the queue; false when no queue has that handle (the message is dropped). */
TL_PLATFORM_API bool WmPostMessage(uint32_t window, uint32_t message, intptr_t wparam, intptr_t lparam);
/* Takes the oldest message; waits up to timeout_ms (negative: forever). False on timeout, when
 * the queue does not exist or is destroyed while waiting, and when out is null. */
TL_PLATFORM_API bool WmGetMessage(uint32_t window, TlWmMessage* out, int32_t timeout_ms);
/* Messages waiting in the queue (0 when it does not exist). */
TL_PLATFORM_API int32_t WmPendingCount(uint32_t window);

#ifdef __cplusplus
}
#endif

#endif
