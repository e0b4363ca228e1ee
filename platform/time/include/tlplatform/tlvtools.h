/*
 * Time discretisation: interval boundaries and steps of the metering system.
 *
 * Dates are days since 30 December 1899 (double), the fraction being the local wall-clock time.
 * All arithmetic is done in whole milliseconds, so repeated IncDiscret from an aligned date lands
 * exactly on every later boundary.
 *
 * Calendar rules:
 *  - Minute boundaries of N minutes are counted from local midnight of the date's own day:
 *    00:00, N, 2N, ... minutes; the next day's midnight is always a boundary. When N does not
 *    divide the day, the last interval of the day is shorter (N = 7: ..., 23:48, 23:55, 00:00);
 *    N of 1440 or more leaves only the midnights.
 *  - Day boundaries are midnights; month boundaries the 1st at 00:00; quarter boundaries the 1st
 *    of January, April, July and October at 00:00; year boundaries 1 January at 00:00. For N > 1
 *    days, months, quarters or years the boundary grid starts at day 0 (30.12.1899), January, and
 *    year 0.
 *  - Direction true: the boundary at or after the date; false: the boundary at or before it.
 *    The date is first rounded to whole milliseconds; a date within one millisecond of a
 *    boundary counts as on it, and the result is always the boundary's exact stamp.
 *  - IncDiscret adds one interval: N years, 3N months (quarter), N months, N days, N hours,
 *    N minutes, N seconds or N milliseconds. Month steps keep the day of month, clamped to the
 *    month's last day, and the time of day; each step sees only the date it is given, so 31.01
 *    steps to 29.02 and then to 29.03. Kind 7 (fixed) adds N seconds. IncDiscret does not align:
 *    from a date off the grid it stays off the grid. The reserved byte is ignored.
 *  - No-ops, leaving the date as it is: a null date, a count below 1 (alignment and IncDiscret
 *    alike; there are no backward steps), an unknown kind, a date that is not finite or lies
 *    outside 01.01.0001 .. 01.01.10000, and a result that would fall outside that range.
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
