#pragma once
// What the result grid does with its rows apart from showing them: the shown first cell with
// its mark, marking, the extra-information text, the ten sort keys and the sort itself, and
// the total play time. Rows are plain texts here; the result table and the windows use these.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace harlune {

// A marked row's first cell starts with this byte ("×"); an unmarked one with two blanks.
inline constexpr char kMarkChar = '\xD7';
inline constexpr const char* kUnmarkedPrefix = "  ";

inline constexpr const char* kSearchFirstText = "Sie m\xFCssen zuerst \xFC"
                                                "ber die Suchfunktion MP3s suchen!";
inline constexpr const char* kWorkerBusyText =
    "Es wurden noch nicht alle Dateien eingelesen, bitte versuchen Sie es sp\xE4ter noch einmal "
    "!\n\r(wenn der rote Punkt links unten verschwunden ist)";
inline constexpr const char* kExtraInfoOffText =
    "Das einlesen der Zusatzinformationen wurde in der Konfiguration deaktiviert!";
inline constexpr const char* kNoGroupText = "_keine Gruppe_";
inline constexpr const char* kUnratedText = "unbew., ";

// The sort menu: criteria 1 to 10 in this order, and the two directions.
inline constexpr const char* kSortCriteria[] = {
    "nach Name",        "nach Albenname", "nach L\xE4nge", "nach Samplingrate", "nach Bitrate",
    "nach Verzeichnis", "nach Wertung",   "nach Gruppe",   "nach Datum",        "nach Track Nr."};
inline constexpr const char* kSortAscending = "aufsteigend";
inline constexpr const char* kSortDescending = "absteigend";

// The context menu of the grid, in its order; the last four stand in a second column.
inline constexpr const char* kContextMenuEntries[] = {"Abspielen (=Doppelklick)",
                                                      "Zu Playlist hinzuf\xFCgen (='#'-Taste)",
                                                      "MP3 vorh\xF6ren (='<' Taste)",
                                                      "MP3 Info (ID3v1/Id3v2 TAG-Editor)",
                                                      "MP3 Markieren (='+' Taste)",
                                                      "Alle markieren",
                                                      "Alle markierten zu Playliste hinzuf\xFCgen",
                                                      "Alle gezeigten zu Playliste hinzuf\xFCgen",
                                                      "MP3(s) kopieren/verschieben",
                                                      "MP3 l\xF6schen",
                                                      "Verzeichnis im Explorer \xF6"
                                                      "ffnen",
                                                      "Suchergebnis drucken",
                                                      "Suchergebnis exportieren",
                                                      "Spieldauer ausrechnen"};
inline constexpr size_t kContextMenuFirstColumn = 10;

// "  " + (indexRow + 1) + ". " + title: the first cell of a new result row.
std::string resultCell0(size_t indexRow, std::string_view title);
bool isMarked(std::string_view cell0);
// The "+" key: a marked cell loses its mark ("  " in front of the trimmed rest), an unmarked
// one gets it ("×" in front of the trimmed cell). Toggling twice restores the cell.
std::string toggleMark(std::string_view cell0);
// "Alle markieren": the cell with the mark (unchanged when it has one).
std::string withMark(std::string_view cell0);

// Which extra information a row shows.
struct ExtraInfoSwitches {
    bool Laenge = true, Version = false, Layer = false, Modus = false, Samplingrate = false,
         Bitrate = false, Verzeichnis = false, Wertung = true, Gruppe = true, Datum = false,
         Album = false, TrackNr = false;
};
// " (3:30, * * * , Rock) ": the parts selected by the switches, each followed by ", ", the last
// comma replaced by ")"; empty when no part is shown.
std::string extraInfoText(const ExtraInfoSwitches& switches, std::string_view path,
                          std::string_view record);

// The sort key of a row for criterion 1 to 10 (ASCII letters lower-cased).
std::string sortKey(int criterion, std::string_view cell0, std::string_view path,
                    std::string_view record);
// The order the grid's quicksort gives the rows: result[k] is the row that ends at position k.
// Keys compare byte by byte (unsigned); equal keys end where this quicksort puts them.
std::vector<size_t> sortOrder(std::vector<std::string> keys, bool descending);

// The play length of a row's field 2 in seconds ("3:30" -> 210; "??" and texts of two
// characters or fewer count 0).
int64_t lengthSeconds(std::string_view laenge);
// "Die Spieldauer beträgt ..." for a total of seconds over `rows` result rows.
std::string playTimeText(int64_t totalSeconds, size_t rows);

} // namespace harlune
