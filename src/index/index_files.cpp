#include "index/index_files.h"

#include "base/cp1252.h"
#include "base/paths.h"
#include "base/text.h"
#include "index/block_line_reader.h"
#include "index/fields.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace harlune {

namespace {

bool headerMatches(std::string_view line, std::string_view header) {
    if (line.size() != header.size())
        return false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (upperByte(line[i]) != header[i])
            return false;
    }
    return true;
}

std::string readErrorText(std::string_view path) {
    return std::string(kReadErrorText) + std::string(path) + kReadErrorEndText;
}

} // namespace

std::string albumFileFor(std::string_view listPath) {
    std::string out(listPath.substr(0, listPath.size() >= 4 ? listPath.size() - 4 : 0));
    out += ".alb";
    return out;
}

bool isTitleLine(std::string_view line) {
    return line.size() >= 7 && headerMatches(line.substr(0, 7), "#EXTINF");
}

std::string_view titleFromTitleLine(std::string_view line) {
    size_t comma = line.find(',');
    if (comma == std::string_view::npos)
        return {};
    return trimView(line.substr(comma + 1));
}

std::string_view titleFromPath(std::string_view path) {
    size_t sep = path.find_last_of("\\/");
    if (sep == std::string_view::npos)
        return {};
    std::string_view name = path.substr(sep + 1);
    return name.substr(0, name.size() >= 4 ? name.size() - 4 : 0);
}

bool Listehinzufuegen(MP3Index& backupgrid, GroupList& mp3gruppenliste, Dialogs& dialogs,
                      std::string_view listPath, std::string& errorText) {
    errorText = kErrorTextStart;
    const std::string listFile(listPath);
    std::string albumFile = albumFileFor(listPath);

    if (!fileExists(listFile)) {
        errorText = listFile + kNotFoundText;
        return false;
    }
    // The album file is "x.alb" whatever the letter case of its name on disk.
    bool ambiguous = false;
    std::optional<std::string> found = findCaseVariant(albumFile, &ambiguous);
    if (ambiguous) {
        errorText = albumFile + kAmbiguousText;
        return false;
    }
    if (found) {
        albumFile = *found;
    } else {
        errorText = albumFile + kNotFoundText;
        if (!dialogs.confirm(kDummyAlbumQuestion))
            return false;
        // Should this fail, opening the album file below reports it.
        createdummyalb(listFile, albumFile);
    }

    BlockLineReader list, album;
    if (!list.open(listFile)) {
        errorText = kCannotOpenText + listFile + kCannotOpenEndText;
        return false;
    }
    if (!album.open(albumFile)) {
        errorText = kCannotOpenText + albumFile + kCannotOpenEndText;
        return false;
    }

    std::string_view line, record;
    if (!list.next(line) || !headerMatches(line, kListHeader)) {
        errorText = list.failed() ? readErrorText(listFile) : listFile + kInvalidText;
        return false;
    }
    if (!album.next(record) || !headerMatches(record, kAlbumHeader)) {
        errorText = album.failed() ? readErrorText(albumFile) : albumFile + kInvalidText;
        return false;
    }

    const uint32_t listId = backupgrid.internListFile(listFile);
    // The title of a title line waits for the path line that follows it. `title` owns the text
    // because the line it came from is gone once the next line is read.
    std::string title;
    bool titlePending = false;
    std::string lastGroup;
    while (!list.atEnd() && !album.atEnd()) {
        if (!list.next(line))
            break;
        if (isTitleLine(line)) {
            title.assign(titleFromTitleLine(line));
            titlePending = true;
            continue;
        }
        if (!album.next(record))
            break;
        backupgrid.append(titlePending ? std::string_view(title) : titleFromPath(line), line,
                          listId, record);
        titlePending = false;
        std::string_view group = trimView(fieldView(record, kFieldGruppe));
        if (!group.empty() && group != lastGroup) {
            mp3gruppenliste.add(group);
            lastGroup.assign(group);
        }
    }

    // Lines left over: blank ones are accepted, anything else means the files do not match.
    while (album.next(record)) {
        if (!trimView(record).empty()) {
            errorText = albumFile + kAlbumTooLongText;
            return false;
        }
    }
    while (list.next(line)) {
        if (!trimView(line).empty()) {
            errorText = listFile + kListTooLongText;
            return false;
        }
    }
    // A read error must not pass for the end of a file: the index would silently lack entries.
    if (list.failed() || album.failed()) {
        errorText = readErrorText(list.failed() ? listFile : albumFile);
        return false;
    }
    return true;
}

bool ladeliste(MP3Index& backupgrid, GroupList& mp3gruppenliste, Dialogs& dialogs, bool allLists,
               std::string_view selectorText, std::string_view indexFolder) {
    loescheliste(backupgrid);
    std::vector<std::string> lists;
    if (allLists)
        lists = indexListFiles(indexFolder);
    else
        lists.push_back(trim(selectorText));
    for (const std::string& listPath : lists) {
        std::string errorText;
        if (!Listehinzufuegen(backupgrid, mp3gruppenliste, dialogs, listPath, errorText)) {
            dialogs.warning(kLoadFailedText + errorText + kLoadFailedEndText);
            return false;
        }
    }
    return true;
}

void loescheliste(MP3Index& backupgrid) {
    backupgrid.clear();
}

std::vector<std::string> indexListFiles(std::string_view indexFolder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(fsPath(indexFolder), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        std::string name = fromFsPath(it->path().filename());
        if (name.size() >= 4 && asciiUpper(name.substr(name.size() - 4)) == ".M3U")
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string& name : names)
        paths.push_back(joinPath(indexFolder, name));
    return paths;
}

bool createdummyalb(std::string_view listPath, std::string_view albumPath) {
    BlockLineReader list;
    if (!list.open(listPath))
        return false;
    const fs::path target = fsPath(albumPath);
    std::FILE* out = std::fopen(target.c_str(), "wb");
    if (!out)
        return false;
    std::vector<char> buffer(1 << 16);
    std::setvbuf(out, buffer.data(), _IOFBF, buffer.size());

    const std::string recordLine = std::string(kDummyAlbumRecord) + "\r\n";
    bool ok = std::fputs(kAlbumHeader, out) >= 0 && std::fputs("\r\n", out) >= 0;
    std::string_view line;
    list.next(line); // the list file's header
    // Blank lines are held back until a non-blank line follows them: the reader treats blank
    // lines inside the file as path lines, but accepts trailing ones without a record.
    size_t heldBlank = 0;
    while (ok && list.next(line)) {
        if (trimView(line).empty()) {
            ++heldBlank;
            continue;
        }
        size_t records = heldBlank + (isTitleLine(line) ? 0 : 1);
        heldBlank = 0;
        for (size_t i = 0; ok && i < records; ++i)
            ok = std::fwrite(recordLine.data(), 1, recordLine.size(), out) == recordLine.size();
    }
    ok = ok && !list.failed();
    ok = (std::fflush(out) == 0) && ok;
    ok = (std::fclose(out) == 0) && ok;
    if (!ok) {
        std::error_code ec;
        fs::remove(target, ec);
    }
    return ok;
}

} // namespace harlune
