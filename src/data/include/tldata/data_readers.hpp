// Reading the rows of a delivered `data` result set stamp by stamp into data lists. The fields
// are looked up once per set; reading a row allocates nothing and touches no text. Each reader
// moves forward only: the row that ended one stamp stays current for the next.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tldata/data_list.hpp"
#include "tldata/result_reader.hpp"
#include "tlosses/abi.h"

#include <optional>

namespace tl {

// The columns of a data row.
class DataRowFields {
public:
    // Throws std::runtime_error when the set lacks one of them.
    explicit DataRowFields(const ResultReader& reader);

    DateTime Stamp(const ResultReader& reader) const { return reader.AsDateTime(data_date_); }
    // A cleared row filled from the current row, whose stamp the caller has read already.
    TDataRow Read(const ResultReader& reader, DateTime stamp) const;

private:
    ResultReader::Field par_number_;
    ResultReader::Field type_;
    ResultReader::Field object_;
    ResultReader::Field item_;
    ResultReader::Field data_date_;
    ResultReader::Field value_;
    ResultReader::Field season_;
};

// Which rows the status filter lets through.
enum class StatusFilter { kAny, kWithStatusBit, kWithoutStatusBit };

// The interval values of a pass.
class IntervalDataReader {
public:
    // `set` must not be null; the reader does not own it.
    explicit IntervalDataReader(TlResultSet* set);

    // Goes to the first row and returns the window begin, moved forward to that row's stamp when
    // the row is later.
    DateTime StampStart(DateTime window_begin);

    // Adds the rows stamped within 10 seconds of `stamp` (both ends excluded) to `list`, from the
    // current row on. The first row outside that window, before or after it, or with the filter on
    // the first row that does not pass it, stops the reading and stays current.
    void ReadAtStamp(DateTime stamp, TDataList& list, StatusFilter filter = StatusFilter::kAny);

    // After `stamp` has been read: the earliest time (milliseconds of the date) a later stamp must
    // reach to read anything, or none when no later stamp can (no row left, or the current row
    // lies before the stamp and so stops every later reading). The stamps in between read nothing.
    std::optional<int64_t> NextReadableMs(DateTime stamp) const;

private:
    ResultReader reader_;
    DataRowFields fields_;
};

// The momentary values kept for a pass; without a set (none kept) nothing is ever read.
class MomentaryDataReader {
public:
    explicit MomentaryDataReader(TlResultSet* set);

    // Adds the rows after the pass's momentary window start and before `stamp` + 1 s: rows at or
    // before the start are passed over, the first row at or after the end stays current. With
    // `split` a row that carries the status bit goes to `flagged`, every other row to `list`.
    void ReadForStamp(int pass, DateTime stamp, TDataList& list, TDataList& flagged, bool split);

private:
    struct Open {
        ResultReader reader;
        DataRowFields fields;
    };
    std::optional<Open> open_;
};

} // namespace tl
