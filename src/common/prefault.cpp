#include "tlcommon/prefault.hpp"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace tl {

void PrefaultForWriting(void* data, size_t bytes) noexcept {
#ifdef MADV_POPULATE_WRITE
    static const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<uintptr_t>(data) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(page - 1);
    if (end > begin) {
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
    }
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace tl
