// harlune-cli tags FILE   - the ID3v1 and ID3v2 fields and the decoded frame header, one
//                           "Name=value" line each
// harlune-cli extra FILE [STORED] - the extra-information text of a result row for the file, as
//                           it is stored after reading the file (STORED: the row's stored album)
// Output is UTF-8; in values, a backslash is written "\\", CR "\r" and LF "\n", so that every
// field stays on its line.
#include "base/cp1252.h"
#include "base/paths.h"
#include "cli/cli_command.h"
#include "meta/frame_header.h"
#include "meta/id3v1.h"
#include "meta/id3v2.h"
#include "meta/tag_reader.h"

#include <cstdio>

namespace harlune {
namespace {

void printField(std::string_view name, std::string_view value) {
    std::string escaped;
    for (char c : value) {
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '\r')
            escaped += "\\r";
        else if (c == '\n')
            escaped += "\\n";
        else
            escaped += c;
    }
    std::printf("%.*s=%s\n", static_cast<int>(name.size()), name.data(),
                cp1252ToUtf8(escaped).c_str());
}

int runTags(CliContext&, const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fputs("usage: harlune-cli tags FILE\n", stderr);
        return 2;
    }
    const std::string file = utf8ToCp1252(args[0]);

    TID3Tag v1;
    const bool v1ok = v1.ReadTag(file);
    printField("ID3v1.Track", v1.Track);
    printField("ID3v1.Title", v1.Title);
    printField("ID3v1.Artist", v1.Artist);
    printField("ID3v1.Album", v1.Album);
    printField("ID3v1.Year", v1.Year);
    printField("ID3v1.Genre", v1.Genre);
    printField("ID3v1.Comment", v1.Comment);
    if (!v1.ErrorText.empty())
        printField("ID3v1.ErrorText", v1.ErrorText);

    TID3v2Tag v2;
    const bool v2ok = v2.ReadTag(file);
    printField("ID3v2.Track", v2.Track);
    printField("ID3v2.Title", v2.Title);
    printField("ID3v2.Artist", v2.Artist);
    printField("ID3v2.Album", v2.Album);
    printField("ID3v2.Year", v2.Year);
    printField("ID3v2.Genre", v2.Genre);
    printField("ID3v2.Comment", v2.Comment);
    printField("ID3v2.OrigArtist", v2.OrigArtist);
    printField("ID3v2.Composer", v2.Composer);
    printField("ID3v2.Url", v2.Url);
    printField("ID3v2.CopyrightInfo", v2.CopyrightInfo);
    printField("ID3v2.EncodedBy", v2.EncodedBy);
    printField("ID3v2.Priv", v2.Priv);
    if (!v2.ErrorText.empty())
        printField("ID3v2.ErrorText", v2.ErrorText);

    HeaderInfo h;
    const bool headerOk = getframeheader(file, h);
    printField("Header.framesync", h.framesync);
    printField("Header.MPEGAudioversion", h.MPEGAudioversion);
    printField("Header.Layer", h.Layer);
    printField("Header.CRC", h.CRC);
    printField("Header.Bitrate", h.Bitrate);
    printField("Header.samplingrate", h.samplingrate);
    printField("Header.padded", h.padded);
    printField("Header.privat", h.privat);
    printField("Header.mode", h.mode);
    printField("Header.extension", h.extension);
    printField("Header.copyright", h.copyright);
    printField("Header.original", h.original);
    printField("Header.emphasis", h.emphasis);
    printField("Header.Laenge", h.Laenge);
    printField("Header.headerposition", h.headerposition);
    return v1ok && v2ok && headerOk ? 0 : 1;
}

int runExtra(CliContext&, const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2) {
        std::fputs("usage: harlune-cli extra FILE [STORED]\n", stderr);
        return 2;
    }
    const std::string file = utf8ToCp1252(args[0]);
    if (!fileExists(file)) {
        std::fprintf(stderr, "harlune-cli: %s: no such file\n", args[0].c_str());
        return 1;
    }
    std::string extra = args.size() > 1 ? utf8ToCp1252(args[1]) : std::string();
    // The display text only decides whether a row is read at all; use the file's name.
    ReadExtraInfo(file, file, extra);
    std::printf("%s\n", cp1252ToUtf8(extra).c_str());
    return 0;
}

const CliCommandRegistration tagsCommand{{"tags", "tags FILE", runTags}};
const CliCommandRegistration extraCommand{{"extra", "extra FILE [STORED]", runExtra}};

} // namespace
} // namespace harlune
