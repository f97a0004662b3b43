#include "meta/id3v1.h"

#include "base/paths.h"
#include "base/text.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace harlune {

const std::array<const char*, kHighestGenre + 1> GenreNames = {
    "Blues",
    "Classic Rock",
    "Country",
    "Dance",
    "Disco",
    "Funk",
    "Grunge",
    "Hip-Hop",
    "Jazz",
    "Metal",
    "New Age",
    "Oldies",
    "Other",
    "Pop",
    "R&B",
    "Rap",
    "Reggae",
    "Rock",
    "Techno",
    "Industrial",
    "Alternative",
    "Ska",
    "Death Metal",
    "Pranks",
    "Soundtrack",
    "Euro-Techno",
    "Ambient",
    "Trip-Hop",
    "Vocal",
    "Jazz+Funk",
    "Fusion",
    "Trance",
    "Classical",
    "Instrumental",
    "Acid",
    "House",
    "Game",
    "Sound Clip",
    "Gospel",
    "Noise",
    "AlternRock",
    "Bass",
    "Soul",
    "Punk",
    "Space",
    "Meditative",
    "Instrumental Pop",
    "Instrumental Rock",
    "Ethnic",
    "Gothic",
    "Darkwave",
    "Techno-Industrial",
    "Electronic",
    "Pop-Folk",
    "Eurodance",
    "Dream",
    "Southern Rock",
    "Comedy",
    "Cult",
    "Gangsta",
    "Top 40",
    "Christian Rap",
    "Pop/Funk",
    "Jungle",
    "Native American",
    "Cabaret",
    "New Wave",
    "Psychadelic",
    "Rave",
    "Showtunes",
    "Trailer",
    "Lo-Fi",
    "Tribal",
    "Acid Punk",
    "Acid Jazz",
    "Polka",
    "Retro",
    "Musical",
    "Rock & Roll",
    "Hard Rock",
    "Folk",
    "Folk-Rock",
    "National Folk",
    "Swing",
    "Fast Fusion",
    "Bebob",
    "Latin",
    "Revival",
    "Celtic",
    "Bluegrass",
    "Avantgarde",
    "Gothic Rock",
    "Progressive Rock",
    "Psychedelic Rock",
    "Symphonic Rock",
    "Slow Rock",
    "Big Band",
    "Chorus",
    "Easy Listening",
    "Acoustic",
    "Humour",
    "Speech",
    "Chanson",
    "Opera",
    "Chamber Music",
    "Sonata",
    "Symphony",
    "Booty Brass",
    "Primus",
    "Porn Groove",
    "Satire",
    "Slow Jam",
    "Club",
    "Tango",
    "Samba",
    "Folklore",
    "Ballad",
    "Poweer Ballad",
    "Rhytmic Soul",
    "Freestyle",
    "Duet",
    "Punk Rock",
    "Drum Solo",
    "A Capela",
    "Euro-House",
    "Dance Hall",
};

namespace {

const char* const kReadMissing = " existiert nicht! (E100)";
const char* const kReadTooSmall = "Datei <= 200 Bytes! (E101)";
const char* const kReadFailed = "Fehler beim Lesen des ID3-Tags ! (E102)";
const char* const kWriteMissing = " existiert nicht! (E103)";
const char* const kWriteTooSmall = "Datei <= 200 Bytes! (E104)";
const char* const kWriteReadFailed = "Fehler beim Lesen des ID3-Tag Headers! (E105)";
const char* const kWriteFailed = "Fehler beim R\xFC"
                                 "ckschreiben des neuen ID3 Tags! (E106)";
const char* const kRemoveMissing = " existiert nicht! (E107)";
const char* const kRemoveTooSmall = "Datei <= 200 Bytes! (E108)";
const char* const kRemoveReadFailed = "Fehler beim Lesen des ID3-Tag-Headers! (E109)";
const char* const kRemoveWriteFailed = "Fehler beim \xFC"
                                       "berschreiben des ID3-Tags! (E109)";
const char* const kRemoveException = "(E110)";
const char* const kReadException = "(E111)";
const char* const kWriteException = "(E112)";

constexpr int64_t kMinimumFileSize = 201; // files of 200 bytes or less are refused
constexpr size_t kBlockSize = 128;

// Field offsets and lengths inside the block.
constexpr size_t kTitleAt = 3, kArtistAt = 33, kAlbumAt = 63, kYearAt = 93, kCommentAt = 97;
constexpr size_t kTextLength = 30, kYearLength = 4, kCommentLength = 29;
constexpr size_t kTrackAt = 126, kGenreAt = 127;

std::string fileMissing(std::string_view name, const char* tail) {
    return "Datei " + std::string(name) + tail;
}

// Cut to `length` bytes or padded with zero bytes to it.
std::string fitted(std::string_view text, size_t length) {
    std::string out(text.substr(0, length));
    out.resize(length, '\0');
    return out;
}

// The leading number of a text as the track byte: leading blanks skipped, an optional sign, the
// digits up to the first other character ("3/12" gives 3, no digits give 0). Values above 255
// give 0; the byte is the value's low 8 bits.
unsigned char trackByte(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;    // the value, as far as it matters (up to just above 255)
    unsigned lowByte = 0; // for negative numbers: the magnitude modulo 256
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value <= 255)
            value = value * 10 + (text[i] - '0');
        lowByte = (lowByte * 10 + static_cast<unsigned>(text[i] - '0')) & 0xFF;
    }
    if (negative)
        return static_cast<unsigned char>((256 - lowByte) & 0xFF);
    return value > 255 ? 0 : static_cast<unsigned char>(value);
}

unsigned char genreByte(std::string_view genre) {
    std::string wanted = asciiUpper(trim(genre));
    for (int i = 0; i <= kHighestGenre; ++i)
        if (asciiUpper(trim(GenreNames[static_cast<size_t>(i)])) == wanted)
            return static_cast<unsigned char>(i);
    return 0; // empty or unknown: Blues
}

// Opens a file for changing its block: the existence check, making it writable, opening it
// read-write. Returns the descriptor, -1 when missing, -2 when it could not be opened (`error`
// then holds the system's text).
int openForWriting(std::string_view fileName, std::string& error) {
    struct stat st {};
    if (fileName.empty() || ::stat(fsPath(fileName).c_str(), &st) != 0)
        return -1;
    makeOwnerWritable(fileName);
    int fd = ::open(fsPath(fileName).c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return -2;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = std::strerror(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        ::close(fd);
        return -2;
    }
    return fd;
}

struct FdCloser {
    int fd;
    ~FdCloser() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

std::string CleanTagText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c == 9)
            out.append(8, ' ');
        else if (c == 10 || c == 13 || (c >= 32 && c <= 126))
            out += ch;
        else if (c == 0xE4 || c == 0xC4 || c == 0xF6 || c == 0xD6 || c == 0xFC || c == 0xDC ||
                 c == 0xDF || c == 0xA1 || c == 0xBF)
            out += ch;
    }
    return trim(out);
}

void TID3Tag::clearFields() {
    Track.clear();
    Title.clear();
    Artist.clear();
    Album.clear();
    Year.clear();
    Genre.clear();
    Comment.clear();
}

bool TID3Tag::ReadTag(std::string_view fileName) {
    clearFields();
    ErrorText.clear();
    return readOpenedFile(fileName, ErrorText, fileMissing(fileName, kReadMissing), kReadException,
                          [this](ByteSource& file) { return ReadTag(file); });
}

bool TID3Tag::ReadTag(ByteSource& source) {
    clearFields();
    ErrorText.clear();
    const int64_t size = source.size();
    if (size < kMinimumFileSize) {
        ErrorText = kReadTooSmall;
        return false;
    }
    std::string block = source.read(size - static_cast<int64_t>(kBlockSize), kBlockSize);
    if (block.size() < kBlockSize) {
        ErrorText = kReadFailed;
        return false;
    }
    for (size_t i = 0; i < kTrackAt; ++i)
        if (static_cast<unsigned char>(block[i]) < 32)
            block[i] = ' ';
    if (block.compare(0, 3, "TAG") != 0)
        return true;

    const auto track = static_cast<unsigned char>(block[kTrackAt]);
    const auto genre = static_cast<unsigned char>(block[kGenreAt]);
    auto field = [&](size_t at, size_t length) {
        return CleanTagText(trim(std::string_view(block).substr(at, length)));
    };
    Title = field(kTitleAt, kTextLength);
    Artist = field(kArtistAt, kTextLength);
    Album = field(kAlbumAt, kTextLength);
    Year = field(kYearAt, kYearLength);
    Comment = field(kCommentAt, kCommentLength);
    Track = std::to_string(track);
    Genre = genre <= kHighestGenre ? GenreNames[genre] : "";
    return true;
}

std::string buildId3v1Block(TID3Tag& tag) {
    tag.Title = fitted(tag.Title, kTextLength);
    tag.Artist = fitted(tag.Artist, kTextLength);
    tag.Album = fitted(tag.Album, kTextLength);
    tag.Year = fitted(tag.Year, kYearLength);
    tag.Comment = fitted(tag.Comment, kCommentLength);

    std::string block(kBlockSize, '\0');
    block.replace(0, 3, "TAG");
    block.replace(kTitleAt, kTextLength, tag.Title);
    block.replace(kArtistAt, kTextLength, tag.Artist);
    block.replace(kAlbumAt, kTextLength, tag.Album);
    block.replace(kYearAt, kYearLength, tag.Year);
    block.replace(kCommentAt, kCommentLength, tag.Comment);
    block[kTrackAt] = static_cast<char>(trackByte(tag.Track));
    block[kGenreAt] = static_cast<char>(genreByte(tag.Genre));
    return block;
}

namespace {

// The frame of WriteTag and RemoveTag: opens the file for writing, checks its size and runs
// `change` with the open file and its size. The texts name the operation's messages.
struct WriteTexts {
    const char* missing;
    const char* exception;
    const char* tooSmall;
};

template <class Change>
bool changeFile(std::string_view fileName, std::string& errorText, const WriteTexts& texts,
                Change&& change) {
    errorText.clear();
    try {
        std::string error;
        int fd = openForWriting(fileName, error);
        if (fd == -1) {
            errorText = fileMissing(fileName, texts.missing);
            return false;
        }
        if (fd == -2) {
            errorText = error + texts.exception;
            return false;
        }
        FdCloser closer{fd};
        struct stat st {};
        ::fstat(fd, &st);
        const int64_t size = st.st_size;
        if (size < kMinimumFileSize) {
            errorText = texts.tooSmall;
            return false;
        }
        return change(fd, size);
    } catch (const std::exception& e) {
        errorText = std::string(e.what()) + texts.exception;
        return false;
    }
}

} // namespace

bool TID3Tag::WriteTag(std::string_view fileName) {
    return changeFile(fileName, ErrorText, {kWriteMissing, kWriteException, kWriteTooSmall},
                      [this](int fd, int64_t size) {
                          std::string last(kBlockSize, '\0');
                          if (preadFully(fd, size - static_cast<int64_t>(kBlockSize), last.data(),
                                         kBlockSize) < kBlockSize) {
                              ErrorText = kWriteReadFailed;
                              return false;
                          }
                          // Replace a block, reuse the zero bytes RemoveTag left, or append.
                          int64_t position = size;
                          if (last.compare(0, 3, "TAG") == 0 ||
                              last.find_first_not_of('\0') == std::string::npos)
                              position = size - static_cast<int64_t>(kBlockSize);
                          std::string block = buildId3v1Block(*this);
                          if (!pwriteFully(fd, position, block.data(), block.size())) {
                              ErrorText = kWriteFailed;
                              return false;
                          }
                          return true;
                      });
}

bool TID3Tag::RemoveTag(std::string_view fileName) {
    return changeFile(fileName, ErrorText, {kRemoveMissing, kRemoveException, kRemoveTooSmall},
                      [this](int fd, int64_t size) {
                          char marker[3];
                          if (preadFully(fd, size - static_cast<int64_t>(kBlockSize), marker, 3) <
                              3) {
                              ErrorText = kRemoveReadFailed;
                              return false;
                          }
                          if (std::memcmp(marker, "TAG", 3) != 0)
                              return true;
                          const std::string zeros(kBlockSize, '\0');
                          if (!pwriteFully(fd, size - static_cast<int64_t>(kBlockSize),
                                           zeros.data(), zeros.size())) {
                              ErrorText = kRemoveWriteFailed;
                              return false;
                          }
                          return true;
                      });
}

} // namespace harlune
