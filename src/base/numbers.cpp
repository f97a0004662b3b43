#include "base/numbers.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace harlune {

int64_t roundHalfEven(double value) {
    return static_cast<int64_t>(std::nearbyint(value));
}

namespace {

int digitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

bool parseInt(std::string_view s, int& result) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == s.size())
        return false;
    int64_t value = 0;
    for (; i < s.size(); ++i) {
        int d = digitValue(s[i], base);
        if (d < 0)
            return false;
        value = value * base + d;
        if (value > int64_t{std::numeric_limits<int>::max()} + 1)
            return false;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return false;
    result = static_cast<int>(value);
    return true;
}

} // namespace

int toIntDef(std::string_view text, int fallback) {
    int v;
    return parseInt(text, v) ? v : fallback;
}

bool isInteger(std::string_view text) {
    int v;
    return parseInt(text, v);
}

double leadingNumber(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= 32)
        ++i;
    size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    bool digits = false, point = false;
    for (; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9')
            digits = true;
        else if (s[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return 0.0;
    return std::strtod(std::string(s.substr(start, i - start)).c_str(), nullptr);
}

int leadingInt(std::string_view s, int fallback) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    if (i == s.size() || s[i] < '0' || s[i] > '9')
        return fallback;
    int64_t value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > std::numeric_limits<int>::max())
            return fallback;
    }
    return static_cast<int>(negative ? -value : value);
}

std::string formatFixed(double value, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return buf;
}

} // namespace harlune
