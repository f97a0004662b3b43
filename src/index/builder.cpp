#include "index/builder.h"

#include "base/cp1252.h"
#include "base/crash_marker.h"
#include "base/datetime.h"
#include "base/line_file.h"
#include "base/numbers.h"
#include "base/paths.h"
#include "base/text.h"
#include "index/fields.h"
#include "index/index_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace harlune {
namespace {

const char* const kDebugLine = "Playliste generieren: ";
const char* const kHttp = "HTTP://";
// Suffix of the work files the new pair is written to before it replaces the old one.
const char* const kBuildWorkSuffix = ".NEW";

std::string norm(std::string_view text) {
    return stripControlChars(text, false);
}

// The separator byte would split a field of the album record; it is left out of the texts
// that go into one.
std::string withoutSeparator(std::string_view text) {
    std::string out(text);
    out.erase(std::remove(out.begin(), out.end(), kFieldSeparator), out.end());
    return out;
}

bool holdsLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string ensureTrailing(std::string text, char separator) {
    if (text.empty() || text.back() != separator)
        text += separator;
    return text;
}

// The part of `path` after `root` with "\" turned into "/", appended to `address`.
std::string convertPath(std::string_view path, std::string_view root, std::string_view address) {
    std::string rest = path.size() > root.size() ? std::string(path.substr(root.size())) : "";
    return std::string(address) + replaceAll(rest, "\\", "/");
}

bool removeFile(const std::string& path) {
    std::error_code ec;
    fs::remove(fsPath(path), ec);
    return !ec;
}

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f)
            std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

bool putLine(std::FILE* f, std::string_view line) {
    return std::fwrite(line.data(), 1, line.size(), f) == line.size() &&
           std::fwrite("\r\n", 1, 2, f) == 2;
}

// Flushes the file to disk and closes it; false on any error.
bool finish(FilePtr& file) {
    std::FILE* f = file.release();
    bool ok = std::fflush(f) == 0 && ::fsync(fileno(f)) == 0;
    return std::fclose(f) == 0 && ok;
}

} // namespace

void addBuiltIndex(IndexSelector& selector, const std::string& listPath) {
    auto& items = selector.items;
    if (std::find(items.begin(), items.end(), listPath) == items.end()) {
        items.insert(items.begin(), listPath);
        if (items.size() > IndexSelector::kMaxItems)
            items.resize(IndexSelector::kMaxItems);
    }
    selector.select(listPath);
}

std::string buildSummary(const TagCounters& counters) {
    return kBuildDoneText + std::to_string(counters.id3v1) + "\n\r" + kBuildDoneV2Text +
           std::to_string(counters.id3v2);
}

std::string checkWebSettings(const WebSettings& web) {
    if (trim(web.webroot).empty())
        return kNoWebRootText;
    const std::string address = trim(web.internetadresse);
    if (address.empty())
        return kNoWebAddressText;
    if (asciiUpper(address.substr(0, 7)) != kHttp)
        return kAddressNotHttpText;
    return "";
}

std::string nameFromFileName(std::string_view path) {
    const std::string part = fileNamePart(path);
    if (part.size() <= 4)
        return "";
    return trim(std::string_view(part).substr(0, part.size() - 4));
}

int secondsFromLength(std::string_view laenge) {
    const size_t colon = laenge.find(':');
    if (colon == std::string_view::npos)
        return 0;
    const int minutes = leadingInt(laenge.substr(0, colon), 0);
    const int seconds = leadingInt(laenge.substr(colon + 1), 0);
    return minutes * 60 + seconds;
}

std::string webUrl(std::string_view path, std::string_view root, std::string_view address,
                   const WebSettings& web) {
    std::string url = convertPath(path, root, address);
    const std::string rest = url.size() > 7 ? url.substr(7) : "";
    switch (web.credentials) {
    case WebCredentials::inmp3indexspeichern:
        url = "http://" + web.username + ":" + web.pwd + "@" + rest;
        break;
    case WebCredentials::konfigverwenden:
        url = kCredentialPlaceholders + rest;
        break;
    case WebCredentials::keinezugangsdaten:
        break;
    }
    return trim(url);
}

IndexBuilder::IndexBuilder(std::string indexFolder, Dialogs& dialogs, Progress& status)
    : indexFolder_(std::move(indexFolder)), dialogs_(dialogs), status_(status) {}

void IndexBuilder::anzeigen(const IndexSelector& selector) {
    if (selector.text.size() > 1) {
        const std::string part = fileNamePart(selector.text);
        options.indexname = part.substr(0, part.find('.'));
    } else {
        options.indexname = kDefaultIndexName;
    }
    directories_.clear();
    files_.clear();
}

void IndexBuilder::add(const DirectoryWalk& walk) {
    for (const auto& d : walk.directories)
        if (!d.empty())
            directories_.push_back(d);
    for (const auto& f : walk.files)
        if (!f.empty())
            files_.push_back(f);
}

std::string IndexBuilder::countLabel() const {
    return "=> " + std::to_string(files_.size()) + " Datei(n) / " +
           std::to_string(directories_.size()) + " Verz.";
}

std::string IndexBuilder::listPathFor(std::string_view name) const {
    return joinPath(indexFolder_, std::string(name) + ".M3U");
}

void IndexBuilder::web_mp3indexClick() {
    dialogs_.information(kWebIndexInfo);
    if (openWebSettings)
        openWebSettings();
}

void IndexBuilder::alles_eintragenClick(bool nowOn) {
    if (!nowOn)
        dialogs_.information(kDynamicExtraInfo);
}

bool IndexBuilder::checkWeb() {
    web.username = trim(web.username);
    web.pwd = trim(web.pwd);
    web.webroot = trim(web.webroot);
    web.internetadresse = trim(web.internetadresse);
    if (web.credentials == WebCredentials::inmp3indexspeichern &&
        (web.username.empty() || web.pwd.empty())) {
        dialogs_.warning(kCredentialsTooShortText);
        if (openWebSettings)
            openWebSettings();
        return false;
    }
    if (web.webroot.empty()) {
        dialogs_.warning(kNoWebRootText);
        return false;
    }
    if (web.internetadresse.empty()) {
        dialogs_.warning(kNoWebAddressText);
        return false;
    }
    web.webroot = ensureTrailing(web.webroot, '/');
    web.internetadresse = ensureTrailing(web.internetadresse, '/');
    // The URL is the path after the root, so every folder must begin with the root (a folder
    // that merely holds the root's text further on would give a wrong URL).
    const std::string root = strupper1(web.webroot);
    for (const auto& d : directories_) {
        if (!startsWith(strupper1(d), root)) {
            dialogs_.warning("\"" + d + "\"\n\r" + kNotBelowRootText + "\n\r\"" + web.webroot +
                             "\"");
            return false;
        }
    }
    if (asciiUpper(web.internetadresse.substr(0, 7)) != kHttp) {
        dialogs_.warning(kAddressNotHttpText);
        return false;
    }
    const std::string& first = directories_.front();
    return dialogs_.confirm(first + "\n\r" + kPreviewConvertedText + "\n\r" +
                            convertPath(first, web.webroot, web.internetadresse) + "\n\r" +
                            kPreviewQuestionText);
}

void IndexBuilder::entryFor(const std::string& path, std::string& extinf, std::string& pathLine,
                            std::string& record, TagCounters& counters) {
    std::string name = nameFromFileName(path);
    std::string album, extra;
    int seconds = 0;
    if (fileExists(path)) {
        if (options.alles_eintragen) {
            status_.setaktion(kActionReadInfo);
            FileInfo info;
            loadFileInfo(path, info, MetaStatus{&status_, true, &dialogs_}, true);
            status_.setaktion(kActionProcess);
            seconds = secondsFromLength(info.header.Laenge);
            if (!info.dateValid) // a tag error ends the loading before the date is taken
                info.dateValid = fileModified(cp1252ToUtf8(path), info.date);
            info.id3v1.Track = withoutSeparator(info.id3v1.Track);
            info.id3v2.Track = withoutSeparator(info.id3v2.Track);
            info.group = withoutSeparator(info.group);
            extra = std::string(1, kFieldSeparator) + extraInfoFields(info);
            if (options.namesFromTags) {
                std::string title = info.id3v1.Title, artist = info.id3v1.Artist;
                album = info.id3v1.Album;
                bool v2 = false;
                for (auto [target, v2Text] :
                     {std::pair{&title, &info.id3v2.Title}, std::pair{&artist, &info.id3v2.Artist},
                      std::pair{&album, &info.id3v2.Album}}) {
                    if (!trim(*v2Text).empty()) {
                        *target = *v2Text;
                        v2 = true;
                    }
                }
                ++(v2 ? counters.id3v2 : counters.id3v1);
                title = norm(title);
                artist = norm(artist);
                album = norm(album);
                if (!title.empty() && !artist.empty())
                    name = artist + " - " + title;
                else if (!title.empty())
                    name = title;
                else if (!artist.empty())
                    name = artist;
            }
        } else if (options.namesFromTags) {
            TagTexts texts;
            ReadHeaderall(path, texts, counters, MetaStatus{&status_, true, &dialogs_});
            const std::string title = norm(texts.title), artist = norm(texts.artist);
            album = norm(texts.album);
            if (!title.empty() && !artist.empty())
                name = artist + " - " + title;
            else if (!title.empty())
                name = title;
            else if (!artist.empty())
                name = artist;
        }
        if (!options.namesFromTags) {
            // The file name is the title's source: it counts with the ID3v1 tags.
            ++counters.id3v1;
            album.clear();
        }
    }
    status_.setaktion(kActionWriteList);
    extinf = "#EXTINF:" + std::to_string(seconds) + "," + name;
    pathLine = options.web ? webUrl(path, web.webroot, web.internetadresse, web) : trim(path);
    record = trim(withoutSeparator(album) + extra);
}

bool IndexBuilder::writePair(const std::string& listWork, const std::string& albumWork,
                             TagCounters& counters) {
    // The buffers outlive the files that use them.
    std::vector<char> listBuffer(1 << 16), albumBuffer(1 << 16);
    FilePtr list(std::fopen(cp1252ToUtf8(listWork).c_str(), "wb"));
    FilePtr album(list ? std::fopen(cp1252ToUtf8(albumWork).c_str(), "wb") : nullptr);
    auto fail = [&](const std::string& path) {
        list.reset();
        album.reset();
        removeFile(listWork);
        removeFile(albumWork);
        if (!path.empty())
            dialogs_.warning(kBuildWriteFailedText + path);
        return false;
    };
    if (!list || !album)
        return fail(list ? albumWork : listWork);
    std::setvbuf(list.get(), listBuffer.data(), _IOFBF, listBuffer.size());
    std::setvbuf(album.get(), albumBuffer.data(), _IOFBF, albumBuffer.size());

    const long long lastRow = static_cast<long long>(files_.size());
    bool ok = true;
    for (long long row = 0; row <= lastRow && ok; ++row) {
        const std::string text = row == 0 ? std::string(kListHeader) : files_[row - 1];
        status_.setaktion(kActionCheckFile);
        Debug(kDebugLine + text);
        if (!status_.pos(row, lastRow, false, text))
            return fail("");
        if (row == 0) {
            ok = putLine(list.get(), kListHeader) && putLine(album.get(), kAlbumHeader);
            continue;
        }
        if (text.size() <= 1)
            continue;
        if (holdsLineBreak(text)) {
            status_.addlog(text, kLineBreakInNameText);
            continue;
        }
        std::string extinf, pathLine, record;
        entryFor(text, extinf, pathLine, record, counters);
        ok = putLine(list.get(), extinf) && putLine(list.get(), pathLine) &&
             putLine(album.get(), record);
    }
    if (!ok)
        return fail(listWork);
    if (!finish(list))
        return fail(listWork);
    if (!finish(album))
        return fail(albumWork);
    return true;
}

BuildResult IndexBuilder::doerstellen(bool askBeforeOverwrite, IndexSelector& selector) {
    BuildResult result;
    if (directories_.empty()) {
        dialogs_.warning(kNoDirectoryText);
        if (openDirectorySelection)
            openDirectorySelection();
        return result;
    }
    const std::string& name = options.indexname;
    if (trim(name).empty() || name.find_first_of("/\\") != std::string::npos ||
        holdsLineBreak(name)) {
        dialogs_.warning(kBadIndexNameText);
        return result;
    }
    if (options.web && !checkWeb())
        return result;

    if (hideBuilder)
        hideBuilder();
    const std::string listPath = listPathFor(name);
    const std::string albumPath = joinPath(indexFolder_, name + ".ALB");
    bool conflict = false;
    const auto oldList = findCaseVariant(listPath, &conflict);
    if (oldList || conflict) {
        if (askBeforeOverwrite && !dialogs_.confirm("MP3-Index " + name + ".M3U" + kOverwriteText +
                                                    "\n\r\n\r" + kOverwriteQuestionText))
            return result;
    }
    // The files of the old pair, whatever the letter case of their names.
    auto oldFiles = [](const std::string& path) {
        std::vector<std::string> out;
        bool ambiguous = false;
        if (auto found = findCaseVariant(path, &ambiguous))
            out.push_back(*found);
        if (ambiguous) {
            std::error_code ec;
            const std::string wanted = asciiUpper(fileNamePart(path));
            for (fs::directory_iterator it(fsPath(folderPart(path)), ec), end; !ec && it != end;
                 it.increment(ec))
                if (asciiUpper(fromFsPath(it->path().filename())) == wanted)
                    out.push_back(fromFsPath(it->path()));
        }
        return out;
    };

    if (files_.empty()) {
        for (const auto& path : {listPath, albumPath}) {
            for (const auto& old : oldFiles(path)) {
                if (!removeFile(old)) {
                    dialogs_.warning(kDeleteFailedText + old);
                    return result;
                }
            }
        }
        if (freeResults)
            freeResults();
        dialogs_.information(kNoEntriesText);
        return result;
    }

    status_.show();
    const std::string listWork = listPath + kBuildWorkSuffix;
    const std::string albumWork = albumPath + kBuildWorkSuffix;
    TagCounters counters;
    if (!writePair(listWork, albumWork, counters)) {
        status_.closeframe();
        return result;
    }
    // Put the new pair in place; old files whose names differ in letter case go.
    const std::vector<std::string> oldListFiles = oldFiles(listPath);
    const std::vector<std::string> oldAlbumFiles = oldFiles(albumPath);
    for (auto [work, target] :
         {std::pair{&albumWork, &albumPath}, std::pair{&listWork, &listPath}}) {
        std::error_code ec;
        fs::rename(fsPath(*work), fsPath(*target), ec);
        if (ec) {
            removeFile(listWork);
            removeFile(albumWork);
            status_.closeframe();
            dialogs_.warning(kDeleteFailedText + *target);
            return result;
        }
    }
    for (const auto* olds : {&oldListFiles, &oldAlbumFiles})
        for (const auto& old : *olds)
            if (old != listPath && old != albumPath && !removeFile(old))
                dialogs_.warning(kDeleteFailedText + old);
    status_.closeframe();

    addBuiltIndex(selector, listPath);
    if (freeResults)
        freeResults();
    result.written = true;
    result.listPath = listPath;
    result.counters = counters;
    dialogs_.information(buildSummary(counters));
    return result;
}

} // namespace harlune
