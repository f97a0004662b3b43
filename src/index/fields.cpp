#include "index/fields.h"

namespace harlune {

std::string_view fieldView(std::string_view record, int n) {
    if (n < 1)
        return {};
    size_t start = 0;
    for (int i = 1; i < n; ++i) {
        size_t sep = record.find(kFieldSeparator, start);
        if (sep == std::string_view::npos)
            return {};
        start = sep + 1;
    }
    size_t end = record.find(kFieldSeparator, start);
    return record.substr(start,
                         end == std::string_view::npos ? record.size() - start : end - start);
}

std::string strupper1(std::string_view text) {
    std::string out(text);
    strupper1InPlace(out);
    return out;
}

void strupper1InPlace(std::string& text) {
    for (char& c : text)
        c = upperByte(c);
}

} // namespace harlune
