#include "meta/tag_reader.h"

#include "base/crash_marker.h"
#include "base/numbers.h"
#include "base/text.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

namespace harlune {
namespace {

const char* const kActionCheck = "lese ID3 (pr\xFC"
                                 "fen)";
const char* const kActionId3v2 = "lese ID3v2";
const char* const kActionId3v1Fallback = "lese ID3v1 (id3v2 leer)";
const char* const kActionId3v1 = "lese ID3v1";
const char* const kActionDone = "--";
const char* const kId3v2LogPrefix = "Fehler beim lesen des ID3v2 Tags: (";
const char* const kId3v1LogPrefix = "Fehler beim lesen des ID3v1 Tags: (";

const char* const kLoadStart = "Daten verarbeiten (0)";
const char* const kLoadTags = "Daten verarbeiten (1)";
const char* const kLoadId3v1 = "ID3v1 laden";
const char* const kLoadId3v2 = "ID3v2 laden";
const char* const kLoadFields = "Daten verarbeiten (2)";
const char* const kLoadRating = "Daten verarbeiten (3)";
const char* const kLoadFailedV1 = "Es ist ein Fehler beim Laden des ID3v1 Tags aufgetreten:";
const char* const kLoadFailedV2 = "Es ist ein Fehler beim Laden des ID3v2 Tags aufgetreten:";

const char* const kDebugFromList = "Zusatzinformationen aus Liste benutzen: ";
const char* const kDebugFromFile = "Zusatzinformationen aus MP3 lesen: ";

const char kSeparator = '\xA1';
const char* const kRatingOwner = "HARLUNE";
const char* const kUnknownLength = "??";
const char* const kNoDate = "- -";
const char* const kNoTrack = "-";

void fromId3v1(const TID3Tag& tag, TagTexts& out) {
    out.title = stripControlChars(tag.Title, false);
    out.artist = stripControlChars(tag.Artist, false);
    out.album = stripControlChars(tag.Album, false);
    out.year = stripControlChars(tag.Year, false);
    out.genre = stripControlChars(tag.Genre, false);
    out.comment = stripControlChars(tag.Comment, false);
    out.track = stripControlChars(tag.Track, false);
}

void readId3v1Into(ByteSource& source, std::string_view fileName, TagTexts& out,
                   const MetaStatus& status) {
    TID3Tag tag;
    if (tag.ReadTag(source))
        fromId3v1(tag, out);
    else
        status.log(fileName, kId3v1LogPrefix + tag.ErrorText + ")");
}

// A tag read failure while loading: into the status window's log when it is shown, else a
// warning.
void reportLoadError(const MetaStatus& status, std::string_view fileName, const char* prefix,
                     const std::string& errorText) {
    if (status.log(fileName, std::string(prefix) + " ( " + errorText + ")"))
        return;
    if (status.dialogs)
        status.dialogs->warning(std::string(prefix) + "\n\r( " + errorText + ")");
}

bool startsWithPositiveNumber(std::string_view text) {
    return leadingInt(trimLeft(text), 0) > 0;
}

} // namespace

std::string stripControlChars(std::string_view text, bool keepLineBreaks) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 32 || (keepLineBreaks && (c == '\r' || c == '\n')))
            out += c;
    return trim(out);
}

void ReadHeaderall(ByteSource& source, std::string_view fileName, TagTexts& out,
                   TagCounters& counters, const MetaStatus& status) {
    out = TagTexts();
    char start[3] = {};
    const bool isId3v2 = source.readAt(0, start, 3) == 3 && std::string_view(start, 3) == "ID3";
    if (isId3v2) {
        ++counters.id3v2;
        status.action(kActionId3v2);
        TID3v2Tag tag;
        if (tag.ReadTag(source)) {
            out.title = stripControlChars(tag.Title, false);
            out.artist = stripControlChars(tag.Artist, false);
            out.album = stripControlChars(tag.Album, false);
            out.year = stripControlChars(tag.Year, false);
            out.genre = stripControlChars(tag.Genre, false);
            out.comment = stripControlChars(tag.Comment, true);
            out.track = stripControlChars(tag.Track, false);
        } else {
            status.log(fileName, kId3v2LogPrefix + tag.ErrorText + ")");
        }
        if (trim(out.title).empty() && trim(out.artist).empty() && trim(out.album).empty()) {
            --counters.id3v2;
            ++counters.id3v1;
            status.action(kActionId3v1Fallback);
            readId3v1Into(source, fileName, out, status);
        }
    } else {
        status.action(kActionId3v1);
        ++counters.id3v1;
        readId3v1Into(source, fileName, out, status);
    }
    status.action(kActionDone);
}

bool ReadHeaderall(std::string_view fileName, TagTexts& out, TagCounters& counters,
                   const MetaStatus& status, std::string* error) {
    out = TagTexts();
    status.action(kActionCheck);
    FileSource file;
    if (file.openForReading(fileName) != FileSource::Open::Ok) {
        if (error)
            *error = file.errorText().empty() ? std::strerror(ENOENT) : file.errorText();
        status.action(kActionDone);
        return false;
    }
    ReadHeaderall(file, fileName, out, counters, status);
    return true;
}

void parseRating(std::string_view priv, int& rating, std::string& group) {
    rating = 0;
    group.clear();
    if (trim(priv).empty())
        return;
    std::vector<std::string> parts = split(std::string(priv) + "\xA1 ", kSeparator);
    if (asciiUpper(trim(parts[0])) != kRatingOwner)
        return;
    const int value = parts.size() > 1 ? static_cast<int>(leadingNumber(parts[1])) : 0;
    rating = value < 1 ? 1 : value > 5 ? 5 : value;
    group = parts.size() > 2 ? trim(parts[2]) : std::string();
}

void loadFileInfo(std::string_view fileName, FileInfo& info, const MetaStatus& status,
                  bool reportErrors) {
    info = FileInfo();
    status.action(kLoadStart);
    FileSource file;
    const bool opened = file.openForReading(fileName) == FileSource::Open::Ok;
    // A file that cannot be opened goes the long way, which gives each reader its own message.
    info.headerFound =
        opened ? getframeheader(file, info.header, status)
               : getframeheader(fileName, info.header, reportErrors ? status : MetaStatus{});
    status.action(kLoadTags);

    status.action(kLoadId3v1);
    info.id3v1Read = opened ? info.id3v1.ReadTag(file) : info.id3v1.ReadTag(fileName);
    if (!info.id3v1Read) {
        if (reportErrors)
            reportLoadError(status, fileName, kLoadFailedV1, info.id3v1.ErrorText);
        return;
    }
    status.action(kLoadId3v2);
    info.id3v2Read = opened ? info.id3v2.ReadTag(file) : info.id3v2.ReadTag(fileName);
    if (!info.id3v2Read) {
        if (reportErrors)
            reportLoadError(status, fileName, kLoadFailedV2, info.id3v2.ErrorText);
        return;
    }

    status.action(kLoadFields);
    TID3Tag& v1 = info.id3v1;
    for (std::string* f :
         {&v1.Track, &v1.Title, &v1.Artist, &v1.Album, &v1.Year, &v1.Genre, &v1.Comment})
        *f = stripControlChars(*f, false);
    TID3v2Tag& v2 = info.id3v2;
    for (std::string* f : {&v2.Track, &v2.Title, &v2.Artist, &v2.Album, &v2.Year, &v2.Genre,
                           &v2.OrigArtist, &v2.Composer, &v2.Url, &v2.CopyrightInfo, &v2.EncodedBy})
        *f = stripControlChars(*f, false);
    v2.Comment = stripControlChars(v2.Comment, true);

    status.action(kLoadRating);
    parseRating(v2.Priv, info.rating, info.group);

    std::tm tm{};
    if (localtime_r(&file.status().st_mtime, &tm)) {
        info.dateValid = true;
        info.date.year = tm.tm_year + 1900;
        info.date.month = tm.tm_mon + 1;
        info.date.day = tm.tm_mday;
        info.date.hour = tm.tm_hour;
        info.date.minute = tm.tm_min;
        info.date.second = tm.tm_sec;
    }
    status.action(kActionDone);
}

std::string extraInfoFields(const FileInfo& info) {
    const HeaderInfo& h = info.header;
    std::string track = kNoTrack;
    if (startsWithPositiveNumber(info.id3v2.Track))
        track = info.id3v2.Track;
    else if (startsWithPositiveNumber(info.id3v1.Track))
        track = info.id3v1.Track;
    const std::string length =
        h.Laenge.find(':') != std::string::npos ? h.Laenge : std::string(kUnknownLength);
    const std::string fields[] = {
        length,
        h.MPEGAudioversion,
        h.Layer,
        h.mode,
        h.samplingrate,
        h.Bitrate,
        " ",
        std::to_string(info.rating),
        info.group,
        info.dateValid ? formatDateISO(info.date) : std::string(kNoDate),
        track,
    };
    std::string out;
    for (const auto& f : fields) {
        out += f;
        out += kSeparator;
    }
    return out;
}

ExtraInfoOrigin ReadExtraInfo(std::string_view displayText, std::string_view path,
                              std::string& extraInfo, const MetaStatus& status) {
    if (displayText.size() <= 1)
        return ExtraInfoOrigin::Skipped;
    if (extraInfo.find(kSeparator) != std::string::npos) {
        Debug(kDebugFromList + std::string(path));
        return ExtraInfoOrigin::Stored;
    }
    Debug(kDebugFromFile + std::string(path));
    FileInfo info;
    loadFileInfo(path, info, status, false);
    extraInfo = extraInfo + kSeparator + extraInfoFields(info);
    return ExtraInfoOrigin::ReadFromFile;
}

} // namespace harlune
