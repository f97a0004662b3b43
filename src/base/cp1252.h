#pragma once
// Windows-1252 <-> UTF-8.
//
// All text of the core is a byte string in Windows-1252. Text from the screen, the terminal or
// the file system is UTF-8 and may hold characters Windows-1252 cannot represent, or (file
// names) bytes that are no UTF-8 at all. So that no file is lost or mis-opened because of its
// name, the conversion is lossless: such a character is kept inside the Windows-1252 string as
// an escape introduced by the byte 0x81, which Windows-1252 leaves undefined:
//   0x81 'u' <hex code point> ';'   a character outside Windows-1252 (e.g. "\x81u65E5;")
//   0x81 'x' <two hex digits>       a byte that is not part of valid UTF-8
// toUtf8(fromUtf8(s)) == s for every byte string s.
#include <string>
#include <string_view>

namespace harlune {

// Windows-1252 (with escapes) to UTF-8.
std::string cp1252ToUtf8(std::string_view text);
// UTF-8 (possibly invalid) to Windows-1252 with escapes for what the code page cannot hold.
std::string utf8ToCp1252(std::string_view text);

// The Unicode code point a single Windows-1252 byte stands for. The five undefined bytes map
// to the C1 control of the same value, as Windows does.
char32_t cp1252ToUnicode(unsigned char byte);
// The Windows-1252 byte of a code point, or -1 when the code page has none (U+0081 counts as
// having none: that byte introduces the escapes).
int unicodeToCp1252(char32_t codePoint);

} // namespace harlune
