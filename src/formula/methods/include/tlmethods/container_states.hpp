// The element states of a run as the methods ask them: the run's TStateContainer.
#pragma once

#include "tldata/state_container.hpp"
#include "tlmethods/run_report.hpp"

namespace tl {

class ContainerStates : public ElementStates {
public:
    explicit ContainerStates(TStateContainer& container) : container_(container) {}

    void Track(const ElementAddress& element) override {
        container_.AddItem(element.object, element.type, element.item);
    }
    int32_t StateAt(const ElementAddress& element, DateTime stamp, int32_t season_key) const override {
        return container_.GetState(element.object, element.type, element.item, stamp, season_key).value;
    }

private:
    TStateContainer& container_;
};

} // namespace tl
