// The page cache an SQLite writer keeps for a store, by the rows it writes. Header-only, so that
// the serial floor benchmark, which links SQLite alone, sizes its stores exactly as the host does.
#pragma once

#include <algorithm>
#include <cstdint>

namespace tl::db {

// A store dirties about 60 bytes of pages a row. Those of rows written in key order are not
// touched again once full, so a cache of a third of them spills at no measured cost; below about
// 12 bytes a row a store of millions of rows got slower. 24 bytes a row, between 8 and 64 MiB,
// keeps the pages of a small store from outweighing its rows.
constexpr int64_t WriterCacheKib(int64_t rows) {
    constexpr int64_t kBytesPerRow = 24;
    constexpr int64_t kMinKib = 8 * 1024;
    constexpr int64_t kMaxKib = 64 * 1024;
    return std::clamp(rows * kBytesPerRow / 1024, kMinKib, kMaxKib);
}

} // namespace tl::db
