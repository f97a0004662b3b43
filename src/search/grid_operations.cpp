#include "search/grid_operations.h"

#include "base/numbers.h"
#include "base/paths.h"
#include "base/text.h"
#include "index/fields.h"
#include "search/result_rows.h"

#include <utility>

namespace harlune {

std::string resultCell0(size_t indexRow, std::string_view title) {
    return ResultTable::cell0Text(indexRow, title);
}

bool isMarked(std::string_view cell0) {
    return !cell0.empty() && cell0[0] == kMarkChar;
}

std::string toggleMark(std::string_view cell0) {
    std::string cell;
    if (isMarked(cell0)) {
        // The mark becomes a blank, the rest is trimmed and two blanks go in front.
        cell = kUnmarkedPrefix;
        cell += trimView(cell0.substr(1));
    } else {
        cell = kMarkChar;
        cell += trimView(cell0);
    }
    return cell;
}

std::string withMark(std::string_view cell0) {
    return isMarked(cell0) ? std::string(cell0) : toggleMark(cell0);
}

std::string extraInfoText(const ExtraInfoSwitches& s, std::string_view path,
                          std::string_view record) {
    std::string text = " (";
    auto part = [&](std::string_view value) {
        text.append(value);
        text += ", ";
    };
    const std::pair<bool, int> fields[] = {
        {s.Laenge, kFieldLaenge}, {s.Version, kFieldVersion},           {s.Layer, kFieldLayer},
        {s.Modus, kFieldModus},   {s.Samplingrate, kFieldSamplingrate}, {s.Bitrate, kFieldBitrate}};
    for (auto [on, field] : fields)
        if (on)
            part(fieldView(record, field));
    if (s.Verzeichnis)
        part(folderPart(path));
    if (s.Wertung) {
        int rating = toIntDef(trim(fieldView(record, kFieldWertung)), -1);
        if (rating == 0) {
            text += kUnratedText;
        } else if (rating >= 1 && rating <= 5) {
            std::string stars;
            for (int i = 0; i < rating; ++i)
                stars += "* ";
            part(stars);
        }
    }
    if (s.Gruppe) {
        std::string group = trim(fieldView(record, kFieldGruppe));
        part(group.empty() ? std::string(kNoGroupText)
                           : std::string(fieldView(record, kFieldGruppe)));
    }
    if (s.Datum)
        part(fieldView(record, kFieldDatum));
    if (s.Album)
        part(fieldView(record, kFieldAlbum));
    if (s.TrackNr) {
        std::string track = trim(fieldView(record, kFieldTrackNr));
        if (track.size() == 1 && track != "-")
            track = "0" + track;
        part(track);
    }
    if (text.size() <= 2)
        return {};
    text[text.size() - 2] = ')';
    return text;
}

std::string sortKey(int criterion, std::string_view cell0, std::string_view path,
                    std::string_view record) {
    std::string key;
    auto padded = [](std::string_view v) {
        std::string s(v);
        if (s.size() < 10)
            s.insert(0, 10 - s.size(), '0');
        return s;
    };
    switch (criterion) {
    case 1: {
        size_t dot = cell0.find('.');
        key = trim(dot == std::string_view::npos ? cell0 : cell0.substr(dot + 1));
        break;
    }
    case 2:
        key = fieldView(record, kFieldAlbum);
        break;
    case 3:
        key = fieldView(record, kFieldLaenge);
        break;
    case 4:
        key = padded(fieldView(record, kFieldSamplingrate));
        break;
    case 5:
        key = padded(fieldView(record, kFieldBitrate));
        break;
    case 6:
        key = folderPart(path);
        break;
    case 7:
        key = fieldView(record, kFieldWertung);
        break;
    case 8:
        key = fieldView(record, kFieldGruppe);
        break;
    case 9:
        key = fieldView(record, kFieldDatum);
        break;
    case 10:
        key = fieldView(record, kFieldTrackNr);
        break;
    default:
        break;
    }
    return asciiLower(key);
}

namespace {

// The grid's quicksort: middle pivot taken once per call, i and j moving towards each other,
// swapping when i <= j. The smaller part is sorted by recursion and the larger one in the loop,
// which gives the same result as sorting both recursively (the parts are disjoint) but keeps
// the stack shallow on a million rows.
template <class Less>
void quicksort(std::vector<std::string>& keys, std::vector<size_t>& order, long lo, long hi,
               Less less) {
    while (lo < hi) {
        const std::string pivot = keys[static_cast<size_t>((lo + hi) / 2)];
        long i = lo, j = hi;
        do {
            while (less(keys[static_cast<size_t>(i)], pivot))
                ++i;
            while (less(pivot, keys[static_cast<size_t>(j)]))
                --j;
            if (i <= j) {
                std::swap(keys[static_cast<size_t>(i)], keys[static_cast<size_t>(j)]);
                std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - lo < hi - i) {
            if (lo < j)
                quicksort(keys, order, lo, j, less);
            lo = i;
        } else {
            if (i < hi)
                quicksort(keys, order, i, hi, less);
            hi = j;
        }
    }
}

} // namespace

std::vector<size_t> sortOrder(std::vector<std::string> keys, bool descending) {
    std::vector<size_t> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    if (keys.size() < 2)
        return order;
    const long last = static_cast<long>(keys.size()) - 1;
    if (descending)
        quicksort(keys, order, 0, last,
                  [](const std::string& a, const std::string& b) { return b < a; });
    else
        quicksort(keys, order, 0, last,
                  [](const std::string& a, const std::string& b) { return a < b; });
    return order;
}

int64_t lengthSeconds(std::string_view laenge) {
    if (laenge == "??" || laenge.size() <= 2)
        return 0;
    // Minutes before the first ":", seconds after it up to the next ":"; without a colon the
    // whole text is read as seconds.
    size_t colon = laenge.find(':');
    std::string_view minutes = colon == std::string_view::npos ? "" : laenge.substr(0, colon);
    std::string_view rest = colon == std::string_view::npos ? laenge : laenge.substr(colon + 1);
    std::string_view seconds = rest.substr(0, rest.find(':'));
    return int64_t{toIntDef(minutes, 0)} * 60 + toIntDef(seconds, 0);
}

std::string playTimeText(int64_t total, size_t rows) {
    const int64_t hours = total / 3600;
    const int64_t minutes = (total - hours * 3600) / 60;
    const int64_t seconds = total - hours * 3600 - minutes * 60;
    return "Die Spieldauer betr\xE4gt \n\r" + std::to_string(hours) + " Stunden, " +
           std::to_string(minutes) + " Minuten und " + std::to_string(seconds) + " Sekunden" +
           "\n\r\n\r(" + std::to_string(rows) + " Titel verarbeitet)";
}

} // namespace harlune
