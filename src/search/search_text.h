#pragma once
// Text helpers of the search and of everything that puts tag texts into an index: splitting a
// search text into words, filtering control characters, and the bare name of a file.
#include <string>
#include <string_view>
#include <vector>

namespace harlune {

// Words beyond this many are ignored by the search.
inline constexpr size_t kMaxSearchWords = 100;

// The words of a search text: the text trimmed and upper-cased (strupper1), then every maximal
// run of bytes other than the blank (byte 32) is one word, in order. At most kMaxSearchWords
// words; further words are dropped.
std::vector<std::string> zeilezerlegen(std::string_view text);

// Removes every byte below 32 (except CR and LF when keepLineBreaks is set), then trims.
std::string norm(std::string_view text, bool keepLineBreaks);

// The file name of a path without its folder ("/" or "\") and without its last four
// characters (the extension of "x.mp3"); "" when the name is shorter than that.
std::string Name(std::string_view path);

} // namespace harlune
