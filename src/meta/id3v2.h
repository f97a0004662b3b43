#pragma once
// The ID3v2 tag at the start of an MP3 file: thirteen frames, one text field each. Tags are
// written in ID3v2.3 form with ISO-8859-1 (here: the Windows-1252 bytes) text.
//
// Reading walks the frames of the first 1,024,000 bytes of the tag without looking at version,
// flags, extended header or unsynchronisation; zero bytes in frame data become blanks, and UTF-16
// text is not decoded (its letters come out separated by blanks).
//
// Rewriting builds the new file beside the old one (file name + ".tmp"), flushes it to the disk
// and renames it over the old file, so that a crash or a full disk at any moment leaves either
// the complete old file or the complete new one. An ID3v1 block at the end is kept.
#include "meta/byte_source.h"

#include <string>
#include <string_view>

namespace harlune {

// At most this many bytes of a tag are used when reading, and a new tag must fit into them.
constexpr int64_t kId3v2ReadLimit = 1024000;

class TID3v2Tag {
public:
    std::string Track;         // TRCK
    std::string Title;         // TIT2
    std::string Artist;        // TPE1
    std::string Album;         // TALB
    std::string Year;          // TYER
    std::string Genre;         // TCON
    std::string Comment;       // COMM
    std::string OrigArtist;    // TOPE
    std::string Composer;      // TCOM
    std::string Url;           // WXXX
    std::string CopyrightInfo; // TCOP
    std::string EncodedBy;     // TENC
    std::string Priv;          // PRIV: "HARLUNE¡" + rating + "¡" + group when rated here
    std::string ErrorText;

    // Clears the fields and reads the tag. A file without "ID3" at its start reads as success
    // with all fields empty. A tag larger than the read limit or cut short by the end of the
    // file still reads as success, with a remark in ErrorText.
    bool ReadTag(std::string_view fileName);
    // The same on an already opened source (existence check and opening are the caller's).
    bool ReadTag(ByteSource& source);
    // Replaces the file's tag by one built from the fields (the fields are trimmed in place);
    // with all fields empty the tag is removed.
    bool WriteTag(std::string_view fileName);
    // Removes the tag; a file without one stays untouched.
    bool RemoveTag(std::string_view fileName);

    void clearFields();

private:
    bool rewrite(std::string_view fileName, bool writeNewTag);
};

// The bytes of the tag WriteTag would write for these fields (empty when all are empty after
// trimming). The fields are not changed.
std::string buildId3v2Tag(const TID3v2Tag& tag);

// Test seam: called with the name of each step of a rewrite ("work file created", "tag written",
// "chunk written", "work file flushed", "replaced"), so that a test can interrupt a rewrite at a
// chosen point. Not set in the program.
using RewriteStepHook = void (*)(std::string_view step);
void setRewriteStepHook(RewriteStepHook hook);

} // namespace harlune
