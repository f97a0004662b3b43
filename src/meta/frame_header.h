#pragma once
// The first MPEG audio frame of a file: finding it, decoding its 32-bit header into the texts
// the tag editor's info box and the index show, and the play length derived from file size and
// bit rate (the first frame's rate applies to the whole file).
#include "meta/byte_source.h"
#include "meta/meta_status.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace harlune {

// The decoded header texts. A field the decoder does not reach keeps "--", the text the info box
// shows for an empty file.
struct HeaderInfo {
    std::string framesync = "--";
    std::string MPEGAudioversion = "--";
    std::string Layer = "--";
    std::string CRC = "--";
    std::string Bitrate = "--";
    std::string samplingrate = "--";
    std::string padded = "--";
    std::string privat = "--";
    std::string mode = "--";
    std::string extension = "--";
    std::string copyright = "--";
    std::string original = "--";
    std::string emphasis = "--";
    std::string Laenge = "--"; // play length "m:ss", or "??"
    std::string headerposition = "--";
};

// Decodes four header bytes found at `position` of a file of `fileSize` bytes into `info`;
// false when the header is invalid (reserved version, layer, sampling rate or emphasis, bit-rate
// index 15, or no bit rate to compute a length with). For a reserved version or layer the
// bit-rate text is left as it was.
bool DecodeFrameHeader(const unsigned char bytes[4], int64_t position, int64_t fileSize,
                       HeaderInfo& info);

// Locates the first frame (after an ID3v2 tag, after the "data" mark of a RIFF/WAV container,
// or, in a damaged file, by searching the first 102,400 bytes) and fills `info`, including
// `headerposition`. False when the file is missing or too short to hold a header.
bool getframeheader(std::string_view fileName, HeaderInfo& info, const MetaStatus& status = {});
// The same on an opened source; exceptions propagate.
bool getframeheader(ByteSource& source, HeaderInfo& info, const MetaStatus& status = {});

// A byte as eight "0"/"1" characters, most significant first, and back.
std::string Byte2bin(unsigned char value);
unsigned char bin2Byte(std::string_view bits);
// One hexadecimal digit character as 0..15 (0 for anything else).
int hex2int(char digit);

} // namespace harlune
