#pragma once
// Album records and the one upper-casing rule of every case-insensitive comparison.
//
// An album record is either twelve fields each followed by the separator byte 0xA1, or a bare
// album name without any separator. Fields are numbered from 1.
#include <string>
#include <string_view>

namespace harlune {

inline constexpr char kFieldSeparator = '\xA1';

// Numbers of the fields of a full album record.
enum AlbumField : int {
    kFieldAlbum = 1,
    kFieldLaenge = 2,
    kFieldVersion = 3,
    kFieldLayer = 4,
    kFieldModus = 5,
    kFieldSamplingrate = 6,
    kFieldBitrate = 7,
    kFieldReserved = 8,
    kFieldWertung = 9,
    kFieldGruppe = 10,
    kFieldDatum = 11,
    kFieldTrackNr = 12,
};
inline constexpr int kAlbumFieldCount = 12;

// Field n of a record: the bytes between the (n-1)-th and the n-th separator, or between the
// last separator and the end when n is one more than the number of separators. A field number
// beyond the record (or below 1) gives "". Nothing is trimmed. The view points into `record`.
std::string_view fieldView(std::string_view record, int n);
inline std::string getfield(std::string_view record, int n) {
    return std::string(fieldView(record, n));
}

// Upper-casing: a-z become A-Z and the bytes of "ä", "ö", "ü" (0xE4, 0xF6, 0xFC) become those
// of "Ä", "Ö", "Ü" (0xC4, 0xD6, 0xDC). Every other byte ("ß", "é", ...) stays as it is.
constexpr char upperByte(char c) {
    switch (c) {
    case '\xE4':
        return '\xC4';
    case '\xF6':
        return '\xD6';
    case '\xFC':
        return '\xDC';
    default:
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
}
std::string strupper1(std::string_view text);
void strupper1InPlace(std::string& text);

} // namespace harlune
