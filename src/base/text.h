#pragma once
// Byte-string helpers for Windows-1252 text.
#include <string>
#include <string_view>
#include <vector>

namespace harlune {

// "Trimmed": leading and trailing bytes 0..32 removed.
std::string trim(std::string_view s);
std::string trimLeft(std::string_view s);
std::string trimRight(std::string_view s);
std::string_view trimView(std::string_view s);

bool startsWith(std::string_view s, std::string_view prefix);
bool endsWith(std::string_view s, std::string_view suffix);

// Replaces every occurrence of `from` (non-empty) by `to`.
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);

// Splits at every occurrence of the separator byte; "a;;b" gives {"a", "", "b"}.
std::vector<std::string> split(std::string_view s, char separator);

// ASCII-only upper and lower case (other bytes unchanged).
std::string asciiUpper(std::string_view s);
std::string asciiLower(std::string_view s);

} // namespace harlune
