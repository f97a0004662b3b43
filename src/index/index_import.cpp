#include "index/index_import.h"

#include "base/crash_marker.h"
#include "base/line_file.h"
#include "base/numbers.h"
#include "base/paths.h"
#include "base/text.h"
#include "index/fields.h"
#include "index/index_files.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace harlune {
namespace {

const char* const kMarkerFormatCheck = "MP3-Index Formatpr\xFC"
                                       "fung (01)";
const char* const kMarkerImportPls = "MP3-Index-Import (Standard)";
const char* const kMarkerImportXml = "MP3-Index-Import (XML)";
const char* const kMarkerCheckList = "G\xFCltigkeitspr\xFC"
                                     "fung (M3U)";
const char* const kMarkerCheckAlbum = "G\xFCltigkeitspr\xFC"
                                      "fung (ALB)";

// The path with its last four characters replaced by `extension`; an existing file whose name
// differs only in letter case is taken instead.
std::string sibling(std::string_view path, const char* extension) {
    std::string wanted(path.substr(0, path.size() >= 4 ? path.size() - 4 : 0));
    wanted += extension;
    if (auto found = findCaseVariant(wanted))
        return *found;
    return wanted;
}

std::string firstLine(std::string_view path) {
    LineReader reader(path);
    std::string line;
    reader.next(line);
    return line;
}

bool readAll(std::string_view path, std::string& text) {
    std::ifstream in(fsPath(path), std::ios::binary);
    if (!in)
        return false;
    std::stringstream ss;
    ss << in.rdbuf();
    text = ss.str();
    return !in.bad();
}

bool copyInto(std::string_view source, std::string_view folder, std::string& copy) {
    copy = joinPath(folder, fileNamePart(source));
    std::error_code ec;
    if (fs::equivalent(fsPath(source), fsPath(copy), ec))
        return true;
    fs::copy_file(fsPath(source), fsPath(copy), fs::copy_options::overwrite_existing, ec);
    return !ec;
}

// Writes the converted pair. The entries were read completely before, so a source file that
// has the list file's own name is never overwritten before it is read.
bool writeImportedPair(const std::vector<ImportedEntry>& entries, std::string_view listPath,
                       std::string_view albumPath) {
    std::vector<std::string> list{kListHeader}, album{kAlbumHeader};
    for (const auto& e : entries) {
        album.push_back(kDummyAlbumRecord);
        list.push_back("#EXTINF:" + e.length + "," + e.title);
        list.push_back(e.path);
    }
    return writeLines(albumPath, album) && writeLines(listPath, list);
}

} // namespace

std::vector<ImportedEntry> parsePls(const std::vector<std::string>& lines) {
    std::vector<ImportedEntry> entries;
    ImportedEntry pending;
    auto flush = [&] {
        if (!pending.path.empty())
            entries.push_back(pending);
        pending = {};
    };
    for (const auto& line : lines) {
        if (line.empty())
            continue;
        size_t eq = line.rfind('=');
        std::string value = trim(eq == std::string::npos ? line : line.substr(eq + 1));
        switch (line[0]) {
        case 'F':
        case 'f':
            flush();
            pending.path = value;
            break;
        case 'T':
        case 't':
            pending.title = value;
            break;
        case 'L':
        case 'l':
            pending.length = value;
            break;
        case 'V':
        case 'v':
            flush();
            break;
        default:
            break;
        }
    }
    return entries;
}

std::vector<ImportedEntry> parseB4s(std::string_view text) {
    static const std::string kEntryStart = "<ENTRY PLAYSTRING=\"FILE:";
    std::vector<ImportedEntry> entries;
    int state = 1;
    std::string collected, path, title, length;
    auto collect = [&](char c, const std::string& wanted, int next) {
        if (c == '<')
            collected.clear();
        collected += c;
        if (trim(strupper1(collected)) == wanted) {
            collected.clear();
            state = next;
        }
    };
    for (char c : text) {
        switch (state) {
        case 1:
            collect(c, kEntryStart, 2);
            break;
        case 2:
            if (c == '"')
                state = 3;
            else
                path += c;
            break;
        case 3:
            collect(c, "<NAME>", 4);
            break;
        case 4:
            if (c == '<')
                state = 5;
            else
                title += c;
            break;
        case 5:
            collect(c, "<LENGTH>", 6);
            break;
        case 6:
            if (c == '<')
                state = 7;
            else
                length += c;
            break;
        default: {
            // The character that arrives in this state is dropped.
            double ms = leadingNumber(length);
            entries.push_back({path, title, std::to_string(roundHalfEven(ms / 1000.0))});
            path.clear();
            title.clear();
            length.clear();
            collected.clear();
            state = 1;
            break;
        }
        }
    }
    return entries;
}

void addRecentIndex(IndexSelector& selector, const std::string& listPath) {
    auto& items = selector.items;
    if (std::find(items.begin(), items.end(), listPath) == items.end()) {
        if (items.size() < IndexSelector::kMaxItems) {
            items.push_back(listPath);
        } else {
            items.pop_back();
            items.insert(items.begin(), listPath);
        }
    }
    selector.select(listPath);
}

std::optional<std::string> B_LadenClick(std::string_view indexFolder, MP3Index& backupgrid,
                                        IndexSelector& selector, Dialogs& dialogs) {
    static const std::vector<FileFilter> filters = {
        {"Harlune MP3-Index (*.m3u; *.alb)", "*.m3u;*.alb"},
        {"Winamp 2.x / Harlune 2.x Playliste (*.m3u)", "*.m3u"},
        {"Standard Playliste (*.pls)", "*.pls"},
        {"Winamp 3x Playliste (*.b4s)", "*.b4s"},
        {"Alle Dateien (*.*)", "*.*"}};
    std::string chosen(indexFolder);
    if (!dialogs.openFile(kOpenIndexTitle, filters, chosen))
        return std::nullopt;
    return importIndexFile(chosen, indexFolder, backupgrid, selector, dialogs);
}

std::optional<std::string> importIndexFile(std::string_view chosen, std::string_view indexFolder,
                                           MP3Index& backupgrid, IndexSelector& selector,
                                           Dialogs& dialogs) {
    backupgrid.clear();
    std::string F(chosen);
    std::string M = sibling(F, ".M3U");
    std::string A = sibling(F, ".ALB");

    if (strupper1(trim(folderPart(F))) != strupper1(trim(indexFolder))) {
        if (dialogs.confirmWarning(kCopyIntoIndexFolderQuestion)) {
            std::string copyA, copyM, copyF;
            for (auto [source, copy] : {std::pair{&A, &copyA}, std::pair{&M, &copyM}}) {
                if (fileExists(*source) && !copyInto(*source, indexFolder, *copy)) {
                    dialogs.warning(kCopyFailedText + *source);
                    return std::nullopt;
                }
            }
            if (fileExists(F) && F != M && F != A && !copyInto(F, indexFolder, copyF)) {
                dialogs.warning(kCopyFailedText + F);
                return std::nullopt;
            }
            F = joinPath(indexFolder, fileNamePart(F));
            M = joinPath(indexFolder, fileNamePart(M));
            A = joinPath(indexFolder, fileNamePart(A));
        }
    }

    Debug(kMarkerFormatCheck);
    std::string head = trim(strupper1(firstLine(F)));
    const bool harluneIndex = head.starts_with(kAlbumHeader) || head.starts_with(kListHeader);
    const bool pls = head == "[PLAYLIST]";
    const bool b4s = head.starts_with("<?XML V");
    if (!harluneIndex && !pls && !b4s) {
        dialogs.warning(kUnknownFormatText + head + ")");
        return std::nullopt;
    }
    if (!harluneIndex) {
        dialogs.warning(kNoAlbumInfoText);
        if (!dialogs.confirm(kImportQuestion))
            return std::nullopt;
        std::vector<ImportedEntry> entries;
        if (pls) {
            Debug(kMarkerImportPls);
            std::vector<std::string> lines;
            if (!readLines(F, lines)) {
                dialogs.error(kReadErrorText + F + kReadErrorEndText);
                return std::nullopt;
            }
            entries = parsePls(lines);
        } else {
            Debug(kMarkerImportXml);
            std::string text;
            if (!readAll(F, text)) {
                dialogs.error(kReadErrorText + F + kReadErrorEndText);
                return std::nullopt;
            }
            entries = parseB4s(text);
        }
        // The new pair is named with the exact extensions it is written with.
        std::string base = F.substr(0, F.size() >= 4 ? F.size() - 4 : 0);
        M = base + ".M3U";
        A = base + ".ALB";
        if (!writeImportedPair(entries, M, A)) {
            dialogs.error(kImportWriteFailedText + M + "!");
            return std::nullopt;
        }
    }

    Debug(kMarkerCheckList);
    if (firstLine(M).substr(0, 7) != kListHeader) {
        dialogs.warning(M + kNotAnIndexText);
        return std::nullopt;
    }
    Debug(kMarkerCheckAlbum);
    if (fileExists(A)) {
        if (firstLine(A).substr(0, 7) != kAlbumHeader) {
            dialogs.warning(A + kNotAnAlbumListText);
            return std::nullopt;
        }
    } else {
        dialogs.warning(kAlbumMissingText + A + kAlbumMissingEndText);
        if (!dialogs.confirm(kDummyAlbumQuestion))
            return std::nullopt;
        if (!createdummyalb(M, A)) {
            dialogs.error(kImportWriteFailedText + A + "!");
            return std::nullopt;
        }
    }
    dialogs.information(kImportDoneText);
    if (!asciiUpper(fileNamePart(M)).starts_with("*.")) {
        addRecentIndex(selector, M);
        return M;
    }
    return std::nullopt;
}

} // namespace harlune
