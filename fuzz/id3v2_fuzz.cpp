// libFuzzer target: the ID3v2 reader on arbitrary bytes as a file, and the tag builder on the
// texts it read.
#include "meta/id3v2.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    harlune::MemorySource source(bytes);
    harlune::TID3v2Tag tag;
    tag.ReadTag(source);
    // A text read comes back unchanged through a tag built here.
    harlune::TID3v2Tag titleOnly;
    titleOnly.Title = tag.Title;
    const std::string file = harlune::buildId3v2Tag(titleOnly) + std::string(300, 'x');
    harlune::MemorySource again(file);
    harlune::TID3v2Tag back;
    if (!back.ReadTag(again) || back.Title != tag.Title)
        __builtin_trap();
    return 0;
}
