// PostgreSQL's binary wire formats: network byte order, and the type identifiers the library reads
// and writes (they are fixed in every server's catalogue).
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

namespace tl::db::pg {

using Oid = unsigned int;

enum : Oid {
    kBoolOid = 16,
    kByteaOid = 17,
    kNameOid = 19,
    kInt8Oid = 20,
    kInt2Oid = 21,
    kInt4Oid = 23,
    kTextOid = 25,
    kOidOid = 26,
    kJsonOid = 114,
    kFloat4Oid = 700,
    kFloat8Oid = 701,
    kUnknownOid = 705,
    kBpcharOid = 1042,
    kVarcharOid = 1043,
    kDateOid = 1082,
    kTimestampOid = 1114,
    kNumericOid = 1700,
    kInt4ArrayOid = 1007,
    kInt8ArrayOid = 1016,
};

inline uint16_t ToNetwork16(uint16_t v) {
    return std::endian::native == std::endian::little ? __builtin_bswap16(v) : v;
}
inline uint32_t ToNetwork32(uint32_t v) {
    return std::endian::native == std::endian::little ? __builtin_bswap32(v) : v;
}
inline uint64_t ToNetwork64(uint64_t v) {
    return std::endian::native == std::endian::little ? __builtin_bswap64(v) : v;
}

// Appending to a buffer.
inline void PutInt16(std::string& out, int16_t v) {
    const uint16_t n = ToNetwork16(static_cast<uint16_t>(v));
    out.append(reinterpret_cast<const char*>(&n), sizeof n);
}
inline void PutInt32(std::string& out, int32_t v) {
    const uint32_t n = ToNetwork32(static_cast<uint32_t>(v));
    out.append(reinterpret_cast<const char*>(&n), sizeof n);
}
inline void PutInt64(std::string& out, int64_t v) {
    const uint64_t n = ToNetwork64(static_cast<uint64_t>(v));
    out.append(reinterpret_cast<const char*>(&n), sizeof n);
}
inline void PutFloat8(std::string& out, double v) {
    PutInt64(out, std::bit_cast<int64_t>(v));
}
inline void PutFloat4(std::string& out, float v) {
    PutInt32(out, std::bit_cast<int32_t>(v));
}

// Reading from a value of the right length.
inline int16_t GetInt16(const char* p) {
    uint16_t n;
    std::memcpy(&n, p, sizeof n);
    return static_cast<int16_t>(ToNetwork16(n));
}
inline int32_t GetInt32(const char* p) {
    uint32_t n;
    std::memcpy(&n, p, sizeof n);
    return static_cast<int32_t>(ToNetwork32(n));
}
inline int64_t GetInt64(const char* p) {
    uint64_t n;
    std::memcpy(&n, p, sizeof n);
    return static_cast<int64_t>(ToNetwork64(n));
}
inline double GetFloat8(const char* p) {
    return std::bit_cast<double>(GetInt64(p));
}
inline float GetFloat4(const char* p) {
    return std::bit_cast<float>(GetInt32(p));
}

} // namespace tl::db::pg
