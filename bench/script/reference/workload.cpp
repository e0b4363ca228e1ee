#include "workload.hpp"

#include <charconv>
#include <fmt/format.h>
#include <string>

namespace tl::bench {
namespace {

// One element formula. In the templates {c} is the object code, {T} the interval length
// function, {v0} the element's own first result.
struct Shape {
    const char* value0;
    const char* value1; // nullptr: the second result stays 0
};

constexpr Shape kShapes[] = {
    {"W({c}, 5) * 0.02 + T2_LossesW_A(2, 10, 100, 0.8, {T}, W({c}, 6))", nullptr},
    {"W({c}, 1) + W({c}, 2) * 0.5", "P({c}, 1) * {T}"},
    {"(W({c}, 3) - W({c}, 4)) / 1.5", "{v0} * 0.1"},
    {"P({c}, 7) * P({c}, 7) / 1000 * {T} + P({c}, 8) * 0.01", nullptr},
};

std::string Substitute(std::string_view text, int code, std::string_view t_call, std::string_view v0) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 3) == "{c}") {
            out += std::to_string(code);
            i += 2;
        } else if (text.substr(i, 3) == "{T}") {
            out += t_call;
            i += 2;
        } else if (text.substr(i, 4) == "{v0}") {
            out += v0;
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

int CodeOf(int k) {
    return StampValues::kFirstCode + k % StampValues::kCodes;
}

std::string RenderLua(Output output, int elements) {
    std::string s;
    s += "local W, P, T, T2_LossesW_A, Print, PrintLn = W, P, T, T2_LossesW_A, Print, PrintLn\n";
    s += "local v0, v1 = {}, {}\n";
    s += fmt::format("for i = 1, {} do v0[i] = 0; v1[i] = 0 end\n", elements);
    for (int k = 0; k < elements; ++k) {
        const Shape& shape = kShapes[k % std::size(kShapes)];
        int index = k + 1;
        std::string own = fmt::format("v0[{}]", index);
        s += "do\n  local ok, err = pcall(function()\n";
        s += fmt::format("    v0[{}] = {}\n", index, Substitute(shape.value0, CodeOf(k), "T()", own));
        if (shape.value1 != nullptr) {
            s += fmt::format("    v1[{}] = {}\n", index, Substitute(shape.value1, CodeOf(k), "T()", own));
        }
        s += "  end)\n";
        if (output == Output::Printed) {
            s += fmt::format("  if ok then\n"
                             "    Print('Result0='); PrintLn(v0[{0}]); Print('Result1='); PrintLn(v1[{0}])\n"
                             "  else\n"
                             "    Print('Result0=Err:'); PrintLn(err); Print('Result1=Err:'); PrintLn(err)\n"
                             "  end\n",
                             index);
        } else {
            s += fmt::format("  if not ok then v0[{0}] = 0; v1[{0}] = 0 end\n", index);
        }
        s += "end\n";
    }
    s += "return v0, v1\n";
    return s;
}

// The run script as the driver assembles it: declarations and the initialisation loop, then one
// guarded block per element, CR LF line breaks.
std::string RenderScript(Output output, int elements) {
    std::string s = "//############# Основная часть #############\r\n";
    s += fmt::format("var __var0, __var1: array [1..{0}] of Float;\r\n"
                     "var __i: Integer;\r\n"
                     "for __i := 1 to {0} do begin\r\n"
                     "  __var0[__i] := 0; __var1[__i] := 0;\r\n"
                     "end;",
                     elements);
    for (int k = 0; k < elements; ++k) {
        const Shape& shape = kShapes[k % std::size(kShapes)];
        int index = k + 1;
        std::string own = fmt::format("__var0[{}]", index);
        std::string formula =
            fmt::format("__var0[{}] := {}", index, Substitute(shape.value0, CodeOf(k), "T", own));
        if (shape.value1 != nullptr) {
            formula +=
                fmt::format("; __var1[{}] := {}", index, Substitute(shape.value1, CodeOf(k), "T", own));
        }
        s += fmt::format("\r\ntry \r\n  {};", formula);
        if (output == Output::Printed) {
            s += fmt::format("\r\n  Print('Result0=');\r\n  PrintLn(__var0[{0}]);\r\n"
                             "  Print('Result1=');\r\n  PrintLn(__var1[{0}]);\r\n"
                             "except\r\n  on E: Exception do begin\r\n"
                             "    Print('Result0=Err:');\r\n    PrintLn(E.message);\r\n"
                             "    Print('Result1=Err:');\r\n    PrintLn(E.message);\r\n"
                             "  end;\r\nend;",
                             index);
        } else {
            s += fmt::format("\r\nexcept\r\n  on E: Exception do begin\r\n"
                             "    __var0[{0}] := 0; __var1[{0}] := 0;\r\n"
                             "  end;\r\nend;",
                             index);
        }
    }
    return s;
}

} // namespace

std::string RenderWorkload(Language language, Output output, int elements) {
    return language == Language::Lua ? RenderLua(output, elements) : RenderScript(output, elements);
}

void StampValues::Fill(std::uint32_t stamp) {
    for (int c = 0; c < kCodes; ++c) {
        for (int i = 0; i < kItems; ++i) {
            auto mix = static_cast<std::uint32_t>(c) * 31u + static_cast<std::uint32_t>(i) * 7u + stamp * 13u;
            values_[c * kItems + i] = 50.0 + static_cast<double>(mix % 97u) * 1.5;
        }
    }
}

double StampValues::Value(int code, int item) const {
    int c = code - kFirstCode;
    if (c < 0 || c >= kCodes || item < 0 || item >= kItems) {
        return 0;
    }
    return values_[c * kItems + item];
}

double HostFunctions::T2LossesWA(double pxx, double pk, double snom, double cosf, double t, double w) {
    if (w == 0) {
        return 0;
    }
    if (cosf == 0) {
        cosf = 0.85;
    }
    if (t == 0) {
        t = kIntervalHours;
    }
    if (cosf * t == 0 || snom == 0) {
        return 0;
    }
    double apparent = w / (cosf * t);
    double k = apparent / snom;
    return t * pxx + pk * k * k * t;
}

// Reads the lines positionally, as the driver does: line 2k holds Result0 and line 2k+1 Result1
// of element k; the value is the text after the first "=", or an error when it holds "Err:".
bool ParseResults(std::string_view output, std::vector<ElementResult>& results) {
    results.clear();
    ElementResult current;
    bool second = false;
    size_t pos = 0;
    while (pos < output.size()) {
        size_t end = output.find('\n', pos);
        std::string_view line = output.substr(pos, end == std::string_view::npos ? end : end - pos);
        pos = end == std::string_view::npos ? output.size() : end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        size_t equals = line.find('=');
        if (line.find(second ? "Result1" : "Result0") == std::string_view::npos ||
            equals == std::string_view::npos) {
            return false;
        }
        std::string_view text = line.substr(equals + 1);
        double value = 0;
        if (text.find("Err:") != std::string_view::npos) {
            current.failed = true;
        } else {
            auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (ec != std::errc() || ptr != text.data() + text.size()) {
                return false;
            }
        }
        if (!second) {
            current.value0 = value;
        } else {
            current.value1 = value;
            results.push_back(current);
            current = ElementResult{};
        }
        second = !second;
    }
    return !second;
}

} // namespace tl::bench
