/*
 * The outside library whose Init the driver calls once when it is loaded. Init prepares
 * process-wide facilities shared by the metering system's modules (here: it records that it ran,
 * and the moment, so that hosts and tests can see it happened exactly once).
 */
#ifndef TLPLATFORM_REVI_H
#define TLPLATFORM_REVI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TL_PLATFORM_API __attribute__((visibility("default")))

/* Always 0; safe to call from any thread. */
TL_PLATFORM_API int32_t Init(void);
/* How many times Init has run in this process. */
TL_PLATFORM_API int32_t ReviInitCount(void);
/* The local date-time (days since 30.12.1899) at which Init last ran; 0 before the first run. */
TL_PLATFORM_API double ReviLastInitTime(void);

#ifdef __cplusplus
}
#endif

#endif
