#include "meta/frame_header.h"

#include "base/numbers.h"
#include "base/paths.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>

namespace harlune {
namespace {

const char* const kYes = "ja";
const char* const kNo = "nein";
const char* const kUnknown = "??";
const char* const kNone = "keine";
const char* const kFreeBitrate = "frei";
const char* const kBadBitrate = "ung\xFCltig";
const char* const kDamaged = " - Datei ist besch\xE4"
                             "digt!";
const char* const kExceptionPrefix = "Get-Header-Exception: ";
const char* const kErrorAt = "Fehler bei ";
const char* const kActionStart = "Frameheader lesen (0)";
const char* const kActionId3v2 = "Frameheader lesen (1)";
const char* const kActionRiff = "Frameheader lesen (2)";
const char* const kActionSearch = "Frameheader lesen (3)";
const char* const kActionDone = "--";

constexpr size_t kSearchBlock = 102400;

const char* const kVersionTexts[4] = {"MPEG Version 2.5", kUnknown, "MPEG Version 2",
                                      "MPEG Version 1"};
const char* const kLayerTexts[4] = {kUnknown, "Layer III", "Layer II", "Layer I"};
const char* const kModeTexts[4] = {"Stereo", "Joint stereo", "Dual Channel", "Mono"};
const char* const kLayer3Extensions[4] = {kNone, "Intensity stereo", "MS stereo",
                                          "Intensity&MS stero"};
const char* const kBandExtensions[4] = {"bands 4 to 31", "bands 8 to 31", "bands 12 to 31",
                                        "bands 16 to 31"};
const char* const kEmphasisTexts[4] = {kNone, "50/15 ms", kUnknown, "CCIT J.17"};

// Sampling rates by rate index, for versions 1, 2 and 2.5.
const char* const kSamplingRates[3][3] = {
    {"44100 Hz", "22050 Hz", "11025 Hz"},
    {"48000 Hz", "24000 Hz", "12000 Hz"},
    {"32000 Hz", "16000 Hz", "8000 Hz"},
};

// Bit rates in kbit/s by bit-rate index 1..14 (ISO 11172-3 for version 1, ISO 13818-3 for
// versions 2 and 2.5, where layers II and III share a column).
const int kV1Layer1[14] = {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448};
const int kV1Layer2[14] = {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
const int kV1Layer3[14] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
const int kV2Layer1[14] = {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256};
const int kV2Layer23[14] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

struct Fields {
    unsigned version, layer, protection, bitrate, sampling, padding, privateBit, mode, extension,
        copyright, original, emphasis;
};

Fields split(const unsigned char b[4]) {
    return {static_cast<unsigned>(b[1] >> 3) & 3u,
            static_cast<unsigned>(b[1] >> 1) & 3u,
            b[1] & 1u,
            static_cast<unsigned>(b[2] >> 4) & 15u,
            static_cast<unsigned>(b[2] >> 2) & 3u,
            static_cast<unsigned>(b[2] >> 1) & 1u,
            b[2] & 1u,
            static_cast<unsigned>(b[3] >> 6) & 3u,
            static_cast<unsigned>(b[3] >> 4) & 3u,
            static_cast<unsigned>(b[3] >> 3) & 1u,
            static_cast<unsigned>(b[3] >> 2) & 1u,
            b[3] & 3u};
}

// What DecodeFrameHeader would answer, without building the texts (the damaged-file search tries
// up to 102,400 offsets).
bool isValidHeader(const unsigned char b[4], int64_t fileSize) {
    Fields f = split(b);
    return f.version != 1 && f.layer != 0 && f.bitrate != 0 && f.bitrate != 15 && f.sampling != 3 &&
           f.emphasis != 2 && fileSize != 0;
}

std::string positionText(int64_t position, const unsigned char b[4]) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%lld (%02X %02X %02X %02X)", static_cast<long long>(position),
                  b[0], b[1], b[2], b[3]);
    return buf;
}

} // namespace

std::string Byte2bin(unsigned char value) {
    std::string out(8, '0');
    for (int i = 0; i < 8; ++i)
        if (value & (0x80 >> i))
            out[static_cast<size_t>(i)] = '1';
    return out;
}

unsigned char bin2Byte(std::string_view bits) {
    unsigned value = 0;
    for (char c : bits.substr(0, 8))
        value = (value << 1) | (c == '1' ? 1u : 0u);
    return static_cast<unsigned char>(value);
}

int hex2int(char digit) {
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    return 0;
}

bool DecodeFrameHeader(const unsigned char bytes[4], int64_t position, int64_t fileSize,
                       HeaderInfo& info) {
    const Fields f = split(bytes);
    bool valid = true;

    info.framesync = (bytes[0] == 0xFF && (bytes[1] & 0xE0) == 0xE0) ? kYes : kNo;
    info.MPEGAudioversion = kVersionTexts[f.version];
    info.Layer = kLayerTexts[f.layer];
    const bool versionKnown = f.version != 1;
    const bool layerKnown = f.layer != 0;
    valid = valid && versionKnown && layerKnown;
    info.CRC = f.protection == 0 ? kYes : kNo;

    if (f.bitrate == 0) {
        info.Bitrate = kFreeBitrate;
    } else if (f.bitrate == 15) {
        info.Bitrate = kBadBitrate;
        valid = false;
    } else if (versionKnown && layerKnown) {
        const int* table;
        if (f.version == 3)
            table = f.layer == 3 ? kV1Layer1 : f.layer == 2 ? kV1Layer2 : kV1Layer3;
        else
            table = f.layer == 3 ? kV2Layer1 : kV2Layer23;
        info.Bitrate = std::to_string(table[f.bitrate - 1]) + " kbit";
    }

    if (f.sampling == 3) {
        info.samplingrate = kUnknown;
        valid = false;
    } else if (versionKnown) {
        const size_t column = f.version == 3 ? 0 : f.version == 2 ? 1 : 2;
        info.samplingrate = kSamplingRates[f.sampling][column];
    }

    info.padded = f.padding ? kYes : kNo;
    info.privat = f.privateBit ? kYes : kNo;
    info.mode = kModeTexts[f.mode];
    if (f.mode != 1)
        info.extension = kNone;
    else
        info.extension =
            f.layer == 1 ? kLayer3Extensions[f.extension] : kBandExtensions[f.extension];
    info.copyright = f.copyright ? kYes : kNo;
    info.original = f.original ? kYes : kNo;
    info.emphasis = kEmphasisTexts[f.emphasis];
    if (f.emphasis == 2)
        valid = false;

    // The play length from the bit rate the text shows ("frei" and "ungültig" give 0).
    const auto kbit = static_cast<int64_t>(leadingNumber(info.Bitrate));
    if (kbit <= 0 || fileSize == 0) {
        info.Laenge = kUnknown;
        valid = false;
    } else {
        const double audioBytes = static_cast<double>(std::max<int64_t>(fileSize - position, 0));
        const int64_t milliseconds = roundHalfEven(audioBytes / static_cast<double>(kbit) * 8.0);
        const int64_t seconds = roundHalfEven(static_cast<double>(milliseconds) / 1000.0);
        char buf[48];
        std::snprintf(buf, sizeof buf, "%lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
        info.Laenge = buf;
    }
    return valid;
}

bool getframeheader(ByteSource& source, HeaderInfo& info, const MetaStatus& status) {
    unsigned char bytes[4];
    if (source.readAt(0, bytes, 4) < 4)
        return false;
    const int64_t fileSize = source.size();
    int64_t position = 0;

    if (std::memcmp(bytes, "ID3", 3) == 0) {
        status.action(kActionId3v2);
        unsigned char header[10];
        if (source.readAt(0, header, 10) < 10)
            return false;
        int64_t size = 0;
        for (int i = 6; i < 10; ++i)
            size = (size << 7) | (header[i] & 0x7F);
        position = size + 10;
        if (source.readAt(position, bytes, 4) < 4)
            return false;
    } else if (std::memcmp(bytes, "RIFF", 4) == 0) {
        status.action(kActionRiff);
        const std::string block = source.read(0, kSearchBlock);
        const size_t at = block.find("data");
        if (at != std::string::npos) {
            position = static_cast<int64_t>(at) + 8;
            if (source.readAt(position, bytes, 4) < 4)
                return false;
        }
    }

    HeaderInfo decoded;
    bool damaged = false;
    if (!DecodeFrameHeader(bytes, position, fileSize, decoded)) {
        status.action(kActionSearch);
        damaged = true;
        const std::string block = source.read(0, kSearchBlock);
        const auto* data = reinterpret_cast<const unsigned char*>(block.data());
        for (size_t at = 1; at + 6 <= block.size(); ++at) {
            if (data[at] != 0xFF && data[at] != 0x00)
                continue;
            if (isValidHeader(data + at, fileSize)) {
                position = static_cast<int64_t>(at);
                std::memcpy(bytes, data + at, 4);
                decoded = HeaderInfo();
                // The length of a header found this way is counted from the start of the file.
                DecodeFrameHeader(bytes, 0, fileSize, decoded);
                break;
            }
        }
    }
    decoded.headerposition = positionText(position, bytes);
    if (damaged)
        decoded.headerposition += kDamaged;
    info = decoded;
    status.action(kActionDone);
    return true;
}

bool getframeheader(std::string_view fileName, HeaderInfo& info, const MetaStatus& status) {
    try {
        FileSource file;
        FileSource::Open opened = file.openForReading(fileName);
        if (opened == FileSource::Open::Missing)
            return false;
        status.action(kActionStart);
        if (opened == FileSource::Open::Failed)
            throw std::runtime_error(file.errorText());
        return getframeheader(file, info, status);
    } catch (const std::exception& e) {
        const std::string text = std::string(kExceptionPrefix) + e.what();
        if (!status.log(fileName, text) && status.dialogs)
            status.dialogs->warning(kErrorAt + std::string(fileName) + "\n\r" + text);
        return false;
    }
}

} // namespace harlune
