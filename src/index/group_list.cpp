#include "index/group_list.h"

namespace harlune {

bool GroupList::add(std::string_view name) {
    if (name.empty() || contains(name))
        return false;
    names_.emplace_back(name);
    known_.emplace(name);
    return true;
}

void GroupList::clear() {
    names_.clear();
    known_.clear();
}

} // namespace harlune
