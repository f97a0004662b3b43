#include "base/text.h"

namespace harlune {
namespace {
bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
} // namespace

std::string_view trimView(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

std::string trim(std::string_view s) {
    return std::string(trimView(s));
}

std::string trimLeft(std::string_view s) {
    size_t b = 0;
    while (b < s.size() && isBlank(s[b]))
        ++b;
    return std::string(s.substr(b));
}

std::string trimRight(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && isBlank(s[e - 1]))
        --e;
    return std::string(s.substr(0, e));
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.starts_with(prefix);
}
bool endsWith(std::string_view s, std::string_view suffix) {
    return s.ends_with(suffix);
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
    std::string out;
    if (from.empty())
        return std::string(s);
    size_t pos = 0;
    for (size_t hit; (hit = s.find(from, pos)) != std::string_view::npos; pos = hit + from.size()) {
        out.append(s.substr(pos, hit - pos));
        out.append(to);
    }
    out.append(s.substr(pos));
    return out;
}

std::vector<std::string> split(std::string_view s, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == separator) {
            parts.emplace_back(s.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

std::string asciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string asciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace harlune
