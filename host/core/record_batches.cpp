#include "record_batches.hpp"

#include "host_jobs.hpp"
#include "tlcommon/text_codec.hpp"

#include <algorithm>
#include <strings.h>

namespace tl::host {
namespace {

// Batches read ahead of the writer: enough to keep it busy, few enough to keep the memory small.
constexpr size_t kBatchesAhead = 2;

std::string FromCp1251(const char* text) {
    return text != nullptr ? Cp1251ToUtf8(text) : std::string();
}

} // namespace

RecordBatches::RecordBatches(const TlRecords* records, size_t rows_per_batch, bool own_thread)
    : records_(records), count_(records->vtbl->Count(records)), rows_per_batch_(rows_per_batch) {
    if (own_thread) {
        for (size_t i = 0; i < kBatchesAhead + 1; ++i) {
            free_.push_back(std::make_unique<RecordBatch>());
        }
        thread_ = std::thread([this] { ReadAhead(); });
    }
}

RecordBatches::~RecordBatches() {
    if (thread_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
}

const RecordBatch* RecordBatches::Next() {
    if (!thread_.joinable()) {
        if (current_ == nullptr) {
            current_ = std::make_unique<RecordBatch>();
        }
        return Fill(*current_) ? current_.get() : nullptr;
    }
    std::unique_lock lock(mutex_);
    if (current_ != nullptr) {
        free_.push_back(std::move(current_));
        changed_.notify_all();
    }
    changed_.wait(lock, [this] { return !ready_.empty() || read_all_; });
    if (ready_.empty()) {
        if (failure_) {
            std::rethrow_exception(failure_);
        }
        return nullptr;
    }
    current_ = std::move(ready_.front());
    ready_.pop_front();
    return current_.get();
}

void RecordBatches::ReadAhead() {
    for (;;) {
        std::unique_ptr<RecordBatch> batch;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stopping_ || !free_.empty(); });
            if (stopping_) {
                return;
            }
            batch = std::move(free_.front());
            free_.pop_front();
        }
        bool filled = false;
        std::exception_ptr failure;
        try {
            filled = Fill(*batch);
        } catch (...) {
            failure = std::current_exception();
        }
        {
            std::lock_guard lock(mutex_);
            failure_ = failure;
            if (filled) {
                ready_.push_back(std::move(batch));
            } else {
                read_all_ = true;
            }
        }
        changed_.notify_all();
        if (!filled) {
            return;
        }
    }
}

bool RecordBatches::Fill(RecordBatch& batch) {
    const TlRecordsVtbl& records = *records_->vtbl;
    batch.values.clear();
    batch.texts.clear();
    size_t rows = 0;
    while (next_record_ < count_ && rows < rows_per_batch_) {
        const int32_t r = next_record_;
        // The records of one call nearly always share one set of names, handed out as the same
        // pointers: names are converted, and the status field found, only when they change.
        const auto fields = static_cast<size_t>(std::max(records.FieldCount(records_, r), 0));
        bool same_names = fields == raw_names_.size() && fields > 0;
        for (size_t f = 0; same_names && f < fields; ++f) {
            same_names = records.FieldName(records_, r, static_cast<int32_t>(f)) == raw_names_[f];
        }
        if (!same_names) {
            if (rows > 0) {
                break; // the record begins the next batch
            }
            raw_names_.resize(fields);
            names_.resize(fields);
            status_field_ = -1;
            for (size_t f = 0; f < fields; ++f) {
                raw_names_[f] = records.FieldName(records_, r, static_cast<int32_t>(f));
                names_[f] = FromCp1251(raw_names_[f]);
                if (strcasecmp(names_[f].c_str(), "TvkStatus") == 0) {
                    status_field_ = static_cast<int>(f);
                }
            }
        }
        if (rows == 0) {
            batch.names = names_;
            batch.name_views.assign(batch.names.begin(), batch.names.end());
        }
        ++next_record_;
        ++rows;
        if (fields == 0) {
            break; // a batch of its own, which the database library refuses with its own words
        }
        for (size_t f = 0; f < fields; ++f) {
            TlVariant value = records.Value(records_, r, static_cast<int32_t>(f));
            if (value.kind == TL_VT_STRING) {
                value.v.str = batch.texts.emplace_back(FromCp1251(value.v.str)).c_str();
            } else if (value.kind == TL_VT_DOUBLE && static_cast<int>(f) == status_field_) {
                value.kind = TL_VT_INT64;
                value.v.i64 = StatusWordFromDouble(value.v.f64);
            }
            batch.values.push_back(value);
        }
    }
    return rows > 0;
}

} // namespace tl::host
