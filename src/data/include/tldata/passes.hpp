// The passes of a calculation run, one per metering parameter, and what depends on the pass: the
// parameter read, the parameter the results are stored under, the step from one stamp to the
// next, the interval length and the window of momentary values. Passes 0..6 are the additional
// short-interval powers, 7 the 30-minute power, 8 the hourly power, 9..12 the energy per day,
// month, quarter and year.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tldata/discreteness.hpp"

#include <array>
#include <cstdint>

namespace tl {

inline constexpr int kPassCount = 13;
inline constexpr int kFirstBasePass = 7;
inline constexpr int kLastPass = 12;
// The script functions' interval index while formulas are only being looked through.
inline constexpr int kCollectionPass = 14;

inline constexpr std::array<int32_t, kPassCount> kPassParNumbers = {2,  4,  5,  6,  7,  8, 9,
                                                                    12, 18, 26, 36, 46, 56};
// Interval minutes of passes 0..8.
inline constexpr std::array<int32_t, 9> kPassMinutes = {3, 1, 2, 4, 5, 6, 10, 30, 60};

inline constexpr int32_t kResultParNumberOffset = 30000;
inline constexpr int32_t kMomentaryParNumber = 1100;

// Bit 18 of a row's status word; results computed from a row that carries it carry it too.
inline constexpr int64_t kStatusBit = 0x40000;
inline bool CarriesStatusBit(int64_t status_word) {
    return (status_word & kStatusBit) > 0;
}

// Each of these throws std::out_of_range for a pass outside 0..12 (0..8 for the minutes).
int32_t PassParNumber(int pass);
int32_t ResultParNumber(int pass);
int32_t PassMinutes(int pass);
// The step from one stamp of the pass to the next: the pass's minutes for 0..7, then one hour,
// day, month, quarter and year.
Discreteness PassStep(int pass);

// Interval length T in hours of the interval that ends at `interval_time`: minutes / 60 for
// passes 0..8, 24 for a day, and 24 times the days of the month, of the three months or of the
// year that the day before `interval_time` belongs to. 1 for any other index.
double IntervalHours(int pass, DateTime interval_time);
// Hours per year H and the year factor Y of the defined formula: 8784 and 366/365 when the year
// of the day before `interval_time` is a leap year, else 8760 and 1.
double HoursPerYear(DateTime interval_time);
double YearFactor(DateTime interval_time);

// Start of the window of momentary values for the stamp: the pass's minutes back for 0..8, a day
// back for 9, and the same day one, three or twelve months back for 10, 11, 12 (the day clamped
// to the shorter month).
DateTime MomentaryWindowStart(int pass, DateTime stamp);

} // namespace tl
