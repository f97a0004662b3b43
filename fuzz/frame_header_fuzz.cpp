// libFuzzer target: the frame-header search and the tag reader of the index on arbitrary bytes
// as a file.
#include "meta/frame_header.h"
#include "meta/tag_reader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    harlune::MemorySource source(bytes);
    harlune::HeaderInfo info;
    harlune::getframeheader(source, info);
    harlune::TagTexts texts;
    harlune::TagCounters counters;
    harlune::ReadHeaderall(source, "fuzz", texts, counters);
    if (counters.id3v1 + counters.id3v2 != 1)
        __builtin_trap();
    return 0;
}
