// What the calculation methods need of their run, each as a narrow interface: the run log and the
// status lines, the element states, and the place result rows go.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tldata/element_address.hpp"
#include "tldata/result_rows.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tl {

class RunReport {
public:
    virtual ~RunReport() = default;
    // Appends a whole line to the run log.
    virtual void LogLine(std::string_view line) = 0;
    // Sends a status line to the host.
    virtual void SendStatus(std::string_view line) = 0;
};

class ElementStates {
public:
    virtual ~ElementStates() = default;
    // Asks for the element's states in the run's event query.
    virtual void Track(const ElementAddress& element) = 0;
    // The state in force at `stamp`, -1 when unknown.
    virtual int32_t StateAt(const ElementAddress& element, DateTime stamp, int32_t season_key) const = 0;
};

class ResultSink {
public:
    virtual ~ResultSink() = default;
    virtual void Add(const ResultRow& row) = 0;
    // Room for `rows` more rows, when the caller knows how many are coming: a pass can add millions,
    // and growing the store step by step copies them again at every step.
    virtual void Reserve(size_t rows) { (void)rows; }
};

} // namespace tl
