// Metering rows and event-list rows into the metering database: each file in one transaction,
// a row with the key of a stored one replacing it, nothing written when any row has a fault.
#pragma once

#include "tlexchange/row_file.hpp"
#include "tlplatform/db_connection.hpp"

#include <cstdint>

namespace tl::exchange {

// Table `data`: parameter, object, type, item, date, season, value, status (in this order when
// the file has no header), and value1 by header or key only.
const RowFormat& MeteringRowFormat();
// Table `eventlist`: evtype, evcode, objcode, objtype, objitem, evgenesisdt, evaltdt, season,
// evidprotect.
const RowFormat& EventRowFormat();

enum class FileFormat { kCsv, kJson };

// Reads and checks the whole file (RowFileError lists its faults).
RowTable ReadRowFile(std::string_view text, FileFormat file_format, const RowFormat& format,
                     std::string_view file_name);

// Writes the rows in one transaction; a database failure rolls it back and is thrown as
// tl::db::Error. Returns the number of rows written.
int64_t WriteMeteringRows(tl::db::Connection& connection, const RowTable& rows);
// An event with the same element, type, code, date and season as a stored one replaces it.
int64_t WriteEventRows(tl::db::Connection& connection, const RowTable& rows);

} // namespace tl::exchange
