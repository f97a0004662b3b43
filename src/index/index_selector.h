#pragma once
// The index selector `mp3indexwahl`: the full paths of list files (".M3U") the user can choose,
// at most five, and the selected text. Loading is lazy: changing the selection only empties the
// in-memory index; the next search loads it.
#include <string>
#include <vector>

namespace harlune {

struct IndexSelector {
    static constexpr size_t kMaxItems = 5;
    std::vector<std::string> items;
    std::string text; // the selected item's text ("" when none is selected)

    // Selects the item equal to `wanted`; nothing changes when no item equals it.
    bool select(const std::string& wanted) {
        for (const auto& item : items) {
            if (item == wanted) {
                text = item;
                return true;
            }
        }
        return false;
    }
};

} // namespace harlune
