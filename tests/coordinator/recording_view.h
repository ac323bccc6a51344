// A view that records what the coordinator tells it, as short texts ("Values *" for every
// parameter, "Values 36 65" for some, "State"), so tests can check what a window was told.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "coordinator/coordinator_view.h"

namespace vxl::test {

class RecordingView : public CoordinatorView {
  public:
    void ValuesChanged(const ParameterChanges& changes) override {
        std::string call = "Values";
        if (changes.IsAll()) call += " *";
        for (int id : changes.Ids()) call += " " + std::to_string(id);
        calls.push_back(call);
    }
    void StateChanged() override { calls.push_back("State"); }

    bool Saw(const std::string& call) const {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
    int Count(const std::string& call) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }

    std::vector<std::string> calls;
};

}  // namespace vxl::test
