#include "tldata/data_readers.hpp"

#include "tldata/passes.hpp"

namespace tl {
namespace {

// Both sides in whole milliseconds: a row 10 s off the stamp is off by exactly 10 000.
constexpr int64_t kStampReach = 10'000;
constexpr int64_t kMomentaryReach = 1'000;

bool Passes(StatusFilter filter, int64_t status_word) {
    switch (filter) {
    case StatusFilter::kWithStatusBit:
        return CarriesStatusBit(status_word);
    case StatusFilter::kWithoutStatusBit:
        return !CarriesStatusBit(status_word);
    case StatusFilter::kAny:
        break;
    }
    return true;
}

} // namespace

DataRowFields::DataRowFields(const ResultReader& reader)
    : par_number_(reader.Require("ParNumber")), type_(reader.Require("ObjType")),
      object_(reader.Require("Object")), item_(reader.Require("Item")),
      data_date_(reader.Require("Data_Date")), value_(reader.Require("Value0")),
      season_(reader.Require("Season")) {}

TDataRow DataRowFields::Read(const ResultReader& reader, DateTime stamp) const {
    TDataRow row;
    row.status = reader.StatusWord();
    row.par_number = reader.AsInteger(par_number_);
    row.type = reader.AsInteger(type_);
    row.object = reader.AsInteger(object_);
    row.item = reader.AsInteger(item_);
    row.stamp = stamp;
    row.value = reader.AsDouble(value_);
    row.season = reader.AsInteger(season_);
    return row;
}

IntervalDataReader::IntervalDataReader(TlResultSet* set) : reader_(set), fields_(reader_) {
    reader_.First();
}

DateTime IntervalDataReader::StampStart(DateTime window_begin) {
    reader_.First();
    if (reader_.Eof()) {
        return window_begin;
    }
    const DateTime first = fields_.Stamp(reader_);
    return ToMillis(first) > ToMillis(window_begin) ? first : window_begin;
}

void IntervalDataReader::ReadAtStamp(DateTime stamp, TDataList& list, StatusFilter filter) {
    const int64_t at = ToMillis(stamp);
    while (!reader_.Eof()) {
        // A row outside the window ends the stamp, whichever side it lies on, and stays current.
        const DateTime row_stamp = fields_.Stamp(reader_);
        const int64_t row_ms = ToMillis(row_stamp);
        if (row_ms >= at + kStampReach || row_ms <= at - kStampReach) {
            return;
        }
        if (filter != StatusFilter::kAny && !Passes(filter, reader_.StatusWord())) {
            return;
        }
        list.Add(fields_.Read(reader_, row_stamp));
        reader_.Next();
    }
}

std::optional<int64_t> IntervalDataReader::NextReadableMs(DateTime stamp) const {
    if (reader_.Eof()) {
        return std::nullopt;
    }
    const int64_t at = ToMillis(stamp);
    const int64_t row_ms = ToMillis(fields_.Stamp(reader_));
    if (row_ms <= at - kStampReach) {
        return std::nullopt;
    }
    // A row beyond the stamp's reach is read by the first stamp that comes within it.
    return row_ms >= at + kStampReach ? row_ms - kStampReach + 1 : at + 1;
}

MomentaryDataReader::MomentaryDataReader(TlResultSet* set) {
    if (set != nullptr) {
        ResultReader reader(set);
        const DataRowFields fields(reader);
        reader.First();
        open_.emplace(Open{reader, fields});
    }
}

void MomentaryDataReader::ReadForStamp(int pass, DateTime stamp, TDataList& list, TDataList& flagged,
                                       bool split) {
    if (!open_) {
        return;
    }
    const int64_t start = ToMillis(MomentaryWindowStart(pass, stamp));
    const int64_t end = ToMillis(stamp) + kMomentaryReach;
    ResultReader& reader = open_->reader;
    while (!reader.Eof()) {
        const DateTime row_stamp = open_->fields.Stamp(reader);
        const int64_t row_ms = ToMillis(row_stamp);
        if (row_ms >= end) {
            return;
        }
        if (row_ms > start) {
            const TDataRow row = open_->fields.Read(reader, row_stamp);
            (split && CarriesStatusBit(row.status) ? flagged : list).Add(row);
        }
        reader.Next();
    }
}

} // namespace tl
