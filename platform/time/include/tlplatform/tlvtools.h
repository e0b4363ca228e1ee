/*
 * Time discretisation: interval boundaries and steps of the metering system.
 *
 * Dates are days since 30 December 1899 (double), the fraction being the local wall-clock time.
 * All arithmetic is done in whole milliseconds, so repeated IncDiscret from an aligned date lands
 * exactly on every later boundary.
 *
 * Calendar rules:
 *  - Minute boundaries of N minutes are counted from local midnight of the date's own day:
 *    00:00, N, 2N, ... minutes; the next day's midnight is always a boundary.
 *  - Day boundaries are midnights; month boundaries the 1st at 00:00; quarter boundaries the 1st
 *    of January, April, July and October at 00:00; year boundaries 1 January at 00:00. For N > 1
 *    days, months or years the boundary grid starts at day 0 (30.12.1899), January, and year 0.
 *  - Direction true: the boundary at or after the date; false: the boundary at or before it.
 *    A date within one millisecond of a boundary counts as on it.
 *  - IncDiscret adds one interval: N years, 3N months (quarter), N months, N days, N hours,
 *    N minutes, N seconds or N milliseconds. Month steps keep the day of month, clamped to the
 *    month's last day, and the time of day. Kind 7 (fixed) adds N seconds.
 */
#ifndef TLPLATFORM_TLVTOOLS_H
#define TLPLATFORM_TLVTOOLS_H

#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TL_PLATFORM_API __attribute__((visibility("default")))

enum TlDiscretKind {
    TL_DISCRET_YEAR = 0,
    TL_DISCRET_QUARTER = 1,
    TL_DISCRET_MONTH = 2,
    TL_DISCRET_DAY = 3,
    TL_DISCRET_HOUR = 4,
    TL_DISCRET_MINUTE = 5,
    TL_DISCRET_SECOND = 6,
    TL_DISCRET_FIXED = 7,
    TL_DISCRET_MILLISECOND = 8
};

#pragma pack(push, 1)
typedef struct TDiscret {
    uint8_t kind;     /* a TlDiscretKind */
    int32_t value;    /* number of units */
    uint8_t reserved; /* always 0 */
} TDiscret;
#pragma pack(pop)

TL_PLATFORM_API void CorrectDateForMinutes(double* date, int32_t minutes, bool direction);
TL_PLATFORM_API void CorrectDateForDays(double* date, int32_t days, bool direction);
TL_PLATFORM_API void CorrectDateForMonths(double* date, int32_t months, bool direction);
TL_PLATFORM_API void CorrectDateForQuarters(double* date, int32_t quarters, bool direction);
TL_PLATFORM_API void CorrectDateForYears(double* date, int32_t years, bool direction);
TL_PLATFORM_API void IncDiscret(double* date, TDiscret discret);

#ifdef __cplusplus
}
#endif

#endif
