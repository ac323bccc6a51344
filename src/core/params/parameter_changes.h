// Which parameters an operation changed, so that whoever shows them can show them again: a list
// of parameter ids, or every parameter at once (a load, a restore, new definitions).
#pragma once

#include <algorithm>
#include <vector>

namespace vxl {

class ParameterChanges {
  public:
    static ParameterChanges All() {
        ParameterChanges changes;
        changes.every_ = true;
        return changes;
    }

    void Add(int id) {
        if (every_ || Contains(id)) return;
        ids_.insert(std::upper_bound(ids_.begin(), ids_.end(), id), id);
    }
    void AddAll() {
        every_ = true;
        ids_.clear();
    }
    void Merge(const ParameterChanges& other) {
        if (other.every_) AddAll();
        for (int id : other.ids_) Add(id);
    }

    bool IsAll() const { return every_; }
    bool Contains(int id) const {
        return every_ || std::binary_search(ids_.begin(), ids_.end(), id);
    }
    bool Empty() const { return !every_ && ids_.empty(); }
    // The ids in ascending order; empty when every parameter changed.
    const std::vector<int>& Ids() const { return ids_; }

  private:
    bool every_ = false;
    std::vector<int> ids_;
};

}  // namespace vxl
