// A yardstick for the index builder: reads, with TagLib, what the builder stores of every MP3 file
// below a folder (title, artist, album, track, year, genre; play length, bit rate, sampling rate,
// channels) and prints the number of files and a checksum over everything read, so that none of
// the work can be left out by the compiler.
//
//     taglib_reader FOLDER...
//
// Audio properties are read with TagLib's Average style (its default): for MPEG files it takes
// the Xing/VBRI header when there is one, else the first frame and the file size, which is what
// the builder does as well.
#include <taglib/mpegfile.h>
#include <taglib/tag.h>
#include <taglib/tstring.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// FNV-1a over the bytes read.
struct Checksum {
    uint64_t value = 1469598103934665603ULL;
    void add(const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) {
            value ^= bytes[i];
            value *= 1099511628211ULL;
        }
    }
    void add(const TagLib::String& text) {
        const std::string utf8 = text.to8Bit(true);
        add(utf8.data(), utf8.size());
        add(uint64_t{0});
    }
    void add(uint64_t number) { add(&number, sizeof number); }
};

bool isMp3(const fs::path& path) {
    const std::string name = path.filename().string();
    if (name.size() < 4)
        return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ext == ".MP3";
}

void readFile(const fs::path& path, Checksum& sum) {
    TagLib::MPEG::File file(path.c_str(), true, TagLib::AudioProperties::Average);
    if (!file.isValid())
        return;
    // The combined tag: ID3v2 first, then APE, then ID3v1, field by field.
    if (const TagLib::Tag* tag = file.tag()) {
        sum.add(tag->title());
        sum.add(tag->artist());
        sum.add(tag->album());
        sum.add(tag->genre());
        sum.add(uint64_t{tag->track()});
        sum.add(uint64_t{tag->year()});
    }
    if (const TagLib::AudioProperties* audio = file.audioProperties()) {
        sum.add(static_cast<uint64_t>(audio->lengthInMilliseconds()));
        sum.add(static_cast<uint64_t>(audio->bitrate()));
        sum.add(static_cast<uint64_t>(audio->sampleRate()));
        sum.add(static_cast<uint64_t>(audio->channels()));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER...\n", argv[0]);
        return 2;
    }
    Checksum sum;
    long long count = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        for (fs::recursive_directory_iterator it(argv[i], ec), end; !ec && it != end;
             it.increment(ec)) {
            if (!it->is_regular_file(ec) || !isMp3(it->path()))
                continue;
            readFile(it->path(), sum);
            ++count;
        }
        if (ec) {
            std::fprintf(stderr, "%s: %s\n", argv[i], ec.message().c_str());
            return 1;
        }
    }
    std::printf("%lld files, checksum %016llx\n", count,
                static_cast<unsigned long long>(sum.value));
    return 0;
}
