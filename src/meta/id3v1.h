#pragma once
// The 128-byte ID3v1 block at the end of an MP3 file.
//
//   offset  0  "TAG"         offset 93   year (4)
//           3  title (30)            97   comment (29; byte 125 belongs to it)
//          33  artist (30)          126   track number (byte)
//          63  album (30)           127   genre number (index into GenreNames)
//
// Operations return a success flag and leave a German message ending in its code in ErrorText.
#include "meta/byte_source.h"

#include <array>
#include <string>
#include <string_view>

namespace harlune {

// The highest genre number the program knows.
constexpr int kHighestGenre = 125;
// Genre names by number. The spellings (including "Psychadelic", "Poweer Ballad", "Rhytmic Soul"
// and "A Capela") are those stored files and older indexes carry; do not correct them.
extern const std::array<const char*, kHighestGenre + 1> GenreNames;

// The character filter of tag texts: a tab becomes eight blanks; CR, LF and the printable ASCII
// characters stay; of the bytes above 126 only ä Ä ö Ö ü Ü ß ¡ ¿ stay; the rest is dropped. The
// result is trimmed.
std::string CleanTagText(std::string_view text);

class TID3Tag {
public:
    std::string Track; // decimal text
    std::string Title;
    std::string Artist;
    std::string Album;
    std::string Year;
    std::string Genre; // the name, not the number
    std::string Comment;
    std::string ErrorText;

    // Clears the fields and reads the block; a file without a block reads as success with all
    // fields empty.
    bool ReadTag(std::string_view fileName);
    // The same on an already opened source (the existence check and the opening are the
    // caller's; the size check and everything after it are done here).
    bool ReadTag(ByteSource& source);
    // Writes the fields as the file's block: over an existing block, into a block of zero bytes
    // left by RemoveTag, or appended. The texts are fitted (cut or padded with zero bytes) and
    // stored back into the fields.
    bool WriteTag(std::string_view fileName);
    // Overwrites an existing block with zero bytes (the file keeps its size).
    bool RemoveTag(std::string_view fileName);

    void clearFields();
};

// The bytes of a block built from the fields as WriteTag writes it (the fields are fitted).
std::string buildId3v1Block(TID3Tag& tag);

} // namespace harlune
