// The records of one store read into batches of values that the writer binds as they are. A large
// store is read on a thread of its own, so that the driver's records are read and converted (texts
// to UTF-8, the status word out of its double) for the next batch while SQLite inserts this one.
#pragma once

#include "tlosses/abi.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tl::host {

// Rows of one set of field names, in order.
struct RecordBatch {
    std::vector<std::string> names; // UTF-8; none for a record without fields
    std::vector<std::string_view> name_views;
    std::vector<TlVariant> values; // names.size() a row; strings point into `texts`
    std::deque<std::string> texts;
};

class RecordBatches {
public:
    // `records` must outlive this object. `own_thread`: read ahead on a thread of its own.
    RecordBatches(const TlRecords* records, size_t rows_per_batch, bool own_thread);
    // Stops the reading thread, if any, and waits for it.
    ~RecordBatches();
    RecordBatches(const RecordBatches&) = delete;
    RecordBatches& operator=(const RecordBatches&) = delete;

    // The next batch, valid until the next call; null once every record has been handed out.
    // Throws what reading the records threw.
    const RecordBatch* Next();

private:
    // Fills `batch` from the records not yet read; false when none was left. A batch ends where
    // the names change.
    bool Fill(RecordBatch& batch);
    void ReadAhead();

    const TlRecords* records_;
    int32_t count_;
    int32_t next_record_ = 0;
    size_t rows_per_batch_;
    // The names of the records last read, as the driver handed them out, and their UTF-8 form.
    std::vector<const char*> raw_names_;
    std::vector<std::string> names_;
    int status_field_ = -1;

    std::unique_ptr<RecordBatch> current_; // the batch handed out
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<RecordBatch>> ready_;
    std::deque<std::unique_ptr<RecordBatch>> free_;
    bool read_all_ = false;
    std::exception_ptr failure_; // of the reading thread
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace tl::host
