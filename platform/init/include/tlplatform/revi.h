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

TL_PLATFORM_API int32_t Init(void);
/* How many times Init has run in this process. */
TL_PLATFORM_API int32_t ReviInitCount(void);

#ifdef __cplusplus
}
#endif

#endif
