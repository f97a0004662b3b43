#include "search/search_text.h"

#include "meta/tag_reader.h"

#include "base/text.h"
#include "index/fields.h"

namespace harlune {

std::vector<std::string> zeilezerlegen(std::string_view text) {
    const std::string upper = strupper1(trimView(text));
    std::vector<std::string> words;
    size_t i = 0;
    while (i < upper.size() && words.size() < kMaxSearchWords) {
        while (i < upper.size() && upper[i] == ' ')
            ++i;
        size_t start = i;
        while (i < upper.size() && upper[i] != ' ')
            ++i;
        if (i > start)
            words.emplace_back(upper, start, i - start);
    }
    return words;
}

std::string norm(std::string_view text, bool keepLineBreaks) {
    // The same filter the tag reader applies to tag texts.
    return stripControlChars(text, keepLineBreaks);
}

std::string Name(std::string_view path) {
    size_t sep = path.find_last_of("/\\");
    std::string_view name = sep == std::string_view::npos ? path : path.substr(sep + 1);
    if (name.size() <= 4)
        return {};
    return std::string(name.substr(0, name.size() - 4));
}

} // namespace harlune
