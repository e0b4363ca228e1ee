#include "streamed_set.hpp"

namespace tl::db {

MemoryResultSet& StreamedSet::Start(std::vector<std::string> column_names) {
    set_ = std::make_shared<MemoryResultSet>(std::move(column_names));
    set_->StartPublishing();
    return *set_;
}

void StreamedSet::RowsAdded() {
    if (!handed_over_ && set_ != nullptr && set_->PublishedRows() > 0) {
        handed_over_ = true;
        stream_.ready(set_);
    }
}

void StreamedSet::Fail(const std::exception& error) {
    if (!handed_over_) {
        return; // the caller's exception tells all
    }
    if (stream_.failing) {
        stream_.failing(error.what());
    }
    set_->Abort();
}

void StreamedSet::Finish() {
    set_->Finish();
    if (!handed_over_) {
        handed_over_ = true;
        stream_.ready(set_);
    }
}

} // namespace tl::db
