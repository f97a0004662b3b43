// libFuzzer target: the ID3v1 reader and the character filter on arbitrary bytes as a file.
#include "meta/id3v1.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    harlune::MemorySource source(bytes);
    harlune::TID3Tag tag;
    tag.ReadTag(source);
    // A block built from what was read reads back with the same texts.
    harlune::TID3Tag copy = tag;
    std::string file = std::string(200, 'x') + harlune::buildId3v1Block(copy);
    harlune::MemorySource again(file);
    harlune::TID3Tag back;
    if (!back.ReadTag(again) || back.Title != tag.Title || back.Artist != tag.Artist ||
        back.Album != tag.Album || back.Year != tag.Year || back.Comment != tag.Comment)
        __builtin_trap();
    harlune::CleanTagText(bytes);
    return 0;
}
