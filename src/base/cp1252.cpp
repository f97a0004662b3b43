#include "base/cp1252.h"

#include <array>
#include <cstdio>

namespace harlune {
namespace {

constexpr unsigned char kEscape = 0x81;

// 0x80..0x9F, the only range where Windows-1252 differs from Latin-1.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when it is not valid UTF-8
// (overlong forms, surrogates and values above U+10FFFF are invalid).
size_t decodeUtf8(std::string_view text, size_t i, char32_t& cp) {
    auto b = [&](size_t k) { return static_cast<unsigned char>(text[i + k]); };
    unsigned char c = b(0);
    size_t len;
    char32_t min;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        len = 2, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4, cp = c & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > text.size())
        return 0;
    for (size_t k = 1; k < len; ++k) {
        if ((b(k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b(k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

} // namespace

char32_t cp1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return kHigh[byte - 0x80];
    return byte;
}

int unicodeToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    if (cp == kEscape)
        return -1;
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp)
            return static_cast<int>(0x80 + i);
    return -1;
}

std::string cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        if (c == kEscape && i + 1 < text.size()) {
            if (text[i + 1] == 'x' && i + 3 < text.size() && hexValue(text[i + 2]) >= 0 &&
                hexValue(text[i + 3]) >= 0) {
                out += static_cast<char>(hexValue(text[i + 2]) * 16 + hexValue(text[i + 3]));
                i += 3;
                continue;
            }
            if (text[i + 1] == 'u') {
                size_t k = i + 2;
                char32_t cp = 0;
                while (k < text.size() && k - (i + 2) < 6 && hexValue(text[k]) >= 0)
                    cp = cp * 16 + static_cast<char32_t>(hexValue(text[k++]));
                if (k > i + 2 && k < text.size() && text[k] == ';' && cp <= 0x10FFFF &&
                    !(cp >= 0xD800 && cp <= 0xDFFF)) {
                    appendUtf8(out, cp);
                    i = k;
                    continue;
                }
            }
        }
        appendUtf8(out, cp1252ToUnicode(c));
    }
    return out;
}

std::string utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        size_t len = decodeUtf8(text, i, cp);
        char buf[16];
        if (len == 0) {
            std::snprintf(buf, sizeof buf, "%cx%02X", static_cast<char>(kEscape),
                          static_cast<unsigned char>(text[i]));
            out += buf;
            i += 1;
            continue;
        }
        int byte = unicodeToCp1252(cp);
        if (byte >= 0) {
            out += static_cast<char>(byte);
        } else {
            std::snprintf(buf, sizeof buf, "%cu%04X;", static_cast<char>(kEscape),
                          static_cast<unsigned>(cp));
            out += buf;
        }
        i += len;
    }
    return out;
}

} // namespace harlune
