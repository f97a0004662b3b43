#pragma once
// MP3 files built byte by byte for the tag and header tests.
#include <cstdint>
#include <string>
#include <string_view>

namespace harlune::test {

// Audio: a frame header FF FB 90 44 (MPEG 1, layer III, 128 kbit, 44100 Hz, joint stereo)
// followed by filler bytes 0x55 (neither 0x00 nor 0xFF, so no false frame candidates), `size`
// bytes in all.
inline std::string audio(size_t size, std::string_view header = "\xFF\xFB\x90\x44") {
    std::string out(size, '\x55');
    out.replace(0, header.size(), header);
    return out;
}

// An ID3v1 block (texts cut or padded to their fields).
inline std::string id3v1Block(std::string_view title, std::string_view artist = "",
                              std::string_view album = "", std::string_view year = "",
                              std::string_view comment = "", unsigned char track = 0,
                              unsigned char genre = 0) {
    std::string b(128, '\0');
    b.replace(0, 3, "TAG");
    auto put = [&](size_t at, size_t len, std::string_view text) {
        b.replace(at, std::min(len, text.size()), text.substr(0, len));
    };
    put(3, 30, title);
    put(33, 30, artist);
    put(63, 30, album);
    put(93, 4, year);
    put(97, 29, comment);
    b[126] = static_cast<char>(track);
    b[127] = static_cast<char>(genre);
    return b;
}

// One ID3v2.3 frame: identifier, big-endian size, flag bytes, data.
inline std::string frame(std::string_view id, std::string_view data, unsigned char flags2 = 0) {
    std::string f(id);
    auto n = static_cast<uint32_t>(data.size());
    f += static_cast<char>(n >> 24);
    f += static_cast<char>(n >> 16);
    f += static_cast<char>(n >> 8);
    f += static_cast<char>(n);
    f += '\0';
    f += static_cast<char>(flags2);
    f += data;
    return f;
}

// A text frame with the ISO-8859-1 encoding byte.
inline std::string textFrame(std::string_view id, std::string_view text) {
    return frame(id, std::string(1, '\0') + std::string(text));
}

// An ID3v2 tag header whose size field says `size` (synchsafe), version 3 unless given.
inline std::string tagHeader(uint32_t size, char version = 3) {
    std::string h("ID3", 3);
    h += version;
    h += '\0';
    h += '\0';
    h += static_cast<char>((size >> 21) & 0x7F);
    h += static_cast<char>((size >> 14) & 0x7F);
    h += static_cast<char>((size >> 7) & 0x7F);
    h += static_cast<char>(size & 0x7F);
    return h;
}

// A complete tag around the given frames, with `padding` zero bytes after them.
inline std::string id3v2Tag(std::string_view frames, size_t padding = 0, char version = 3) {
    return tagHeader(static_cast<uint32_t>(frames.size() + padding), version) +
           std::string(frames) + std::string(padding, '\0');
}

} // namespace harlune::test
