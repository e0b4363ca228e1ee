#include "run_trace.hpp"

#include <cinttypes>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tl::bench {

TraceWriter::TraceWriter(const std::filesystem::path& file) : file_(std::fopen(file.c_str(), "wb")) {
    if (file_ == nullptr) {
        throw std::runtime_error("cannot write the trace " + file.string());
    }
}

TraceWriter::~TraceWriter() {
    std::fclose(file_);
}

void TraceWriter::Query(std::string_view sql, std::span<const TlVariant> params) {
    std::fprintf(file_, "query %zu %zu\n", params.size(), sql.size());
    std::fwrite(sql.data(), 1, sql.size(), file_);
    std::fputc('\n', file_);
    for (const TlVariant& v : params) {
        switch (v.kind) {
        case TL_VT_INT32:
            std::fprintf(file_, "i %" PRId32 "\n", v.v.i32);
            break;
        case TL_VT_INT64:
            std::fprintf(file_, "i %" PRId64 "\n", v.v.i64);
            break;
        case TL_VT_BOOL:
            std::fprintf(file_, "i %d\n", v.v.boolean != 0 ? 1 : 0);
            break;
        case TL_VT_DOUBLE:
        case TL_VT_DATETIME:
            std::fprintf(file_, "r %a\n", v.v.f64);
            break;
        case TL_VT_STRING: {
            const std::string_view text = v.v.str != nullptr ? v.v.str : "";
            std::fprintf(file_, "s %zu\n", text.size());
            std::fwrite(text.data(), 1, text.size(), file_);
            std::fputc('\n', file_);
            break;
        }
        default:
            std::fputs("n\n", file_);
            break;
        }
    }
    std::fflush(file_);
}

namespace {

std::string ReadBytes(std::istream& in, size_t count) {
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    if (in.get() != '\n') {
        throw std::runtime_error("a damaged trace");
    }
    return bytes;
}

} // namespace

std::vector<TraceQuery> ReadTrace(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read the trace " + file.string());
    }
    std::vector<TraceQuery> queries;
    std::string word;
    while (in >> word) {
        size_t count = 0;
        size_t bytes = 0;
        if (word != "query" || !(in >> count >> bytes) || in.get() != '\n') {
            throw std::runtime_error("a damaged trace");
        }
        TraceQuery q;
        q.sql = ReadBytes(in, bytes);
        for (size_t i = 0; i < count; ++i) {
            std::string line;
            std::getline(in, line);
            TraceValue v;
            if (line.starts_with("i ")) {
                v.kind = TraceValue::Kind::Integer;
                v.integer = std::strtoll(line.c_str() + 2, nullptr, 10);
            } else if (line.starts_with("r ")) {
                v.kind = TraceValue::Kind::Real;
                v.real = std::strtod(line.c_str() + 2, nullptr);
            } else if (line.starts_with("s ")) {
                v.kind = TraceValue::Kind::Text;
                v.text = ReadBytes(in, std::strtoull(line.c_str() + 2, nullptr, 10));
            } else if (line != "n") {
                throw std::runtime_error("a damaged trace");
            }
            q.params.push_back(std::move(v));
        }
        queries.push_back(std::move(q));
    }
    return queries;
}

} // namespace tl::bench
