#pragma once
// The process's pages as /proc/self/statm gives them, in KiB: both memory probes read it.

#include <cstdint>
#include <cstdio>
#include <unistd.h>

struct ResidentPages {
    int64_t resident_kib = 0;
    int64_t file_kib = 0;
};

inline ResidentPages ReadResidentPages() {
    long size = 0;
    long resident = 0;
    long file = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld %ld", &size, &resident, &file) != 3) {
            resident = 0;
            file = 0;
        }
        std::fclose(statm);
    }
    const int64_t page_kib = sysconf(_SC_PAGESIZE) / 1024;
    return {resident * page_kib, file * page_kib};
}
