#include "tlexchange/interval_kinds.hpp"

#include "tldata/pass_names.hpp"
#include "tldata/passes.hpp"

#include <array>
#include <charconv>

namespace tl::exchange {
namespace {

std::array<IntervalKind, kPassCount> MakeKinds() {
    std::array<IntervalKind, kPassCount> kinds{};
    for (int pass = 0; pass < kPassCount; ++pass) {
        kinds[static_cast<size_t>(pass)] = {pass, PassName(pass), PassTitle(pass), PassParNumber(pass),
                                            ResultParNumber(pass)};
    }
    return kinds;
}

const std::array<IntervalKind, kPassCount>& Kinds() {
    static const std::array<IntervalKind, kPassCount> kinds = MakeKinds();
    return kinds;
}

} // namespace

std::span<const IntervalKind> IntervalKinds() {
    return Kinds();
}

const IntervalKind* FindIntervalKind(std::string_view text) {
    int32_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    const bool is_number = !text.empty() && error == std::errc() && end == text.data() + text.size();
    for (const IntervalKind& kind : Kinds()) {
        if (is_number ? number == kind.par_number || number == kind.result_par_number : text == kind.name) {
            return &kind;
        }
    }
    return nullptr;
}

std::string_view IntervalKindNames() {
    return PassNameList();
}

} // namespace tl::exchange
