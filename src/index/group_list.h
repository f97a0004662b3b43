#pragma once
// The group list `mp3gruppenliste`: the distinct group names (field Gruppe of the album
// records, trimmed) in order of first appearance. Names are compared exactly, so "Party" and
// "party" are two groups. Loading an index adds to it and never clears it.
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace harlune {

class GroupList {
public:
    const std::vector<std::string>& names() const { return names_; }
    size_t size() const { return names_.size(); }
    bool contains(std::string_view name) const { return known_.find(name) != known_.end(); }
    // Adds the name when it is not empty and not yet listed; true when it was added.
    bool add(std::string_view name);
    void clear();

private:
    std::vector<std::string> names_;
    std::set<std::string, std::less<>> known_;
};

} // namespace harlune
