#include "cli/console_dialogs.h"

#include "base/cp1252.h"
#include "base/text.h"

#include <cstdio>

namespace harlune {

void ConsoleDialogs::print(const char* kind, std::string_view text) {
    // "\n\r" in the program's texts is one line break.
    std::string utf8 = cp1252ToUtf8(replaceAll(replaceAll(text, "\n\r", "\n"), "\r", ""));
    std::fprintf(stderr, "%s: %s\n", kind, utf8.c_str());
}

void ConsoleDialogs::warning(std::string_view text) {
    print("warning", text);
}
void ConsoleDialogs::information(std::string_view text) {
    print("information", text);
}
void ConsoleDialogs::error(std::string_view text) {
    print("error", text);
}

bool ConsoleDialogs::confirm(std::string_view text) {
    print(yes_ ? "confirm (yes)" : "confirm (no)", text);
    return yes_;
}

bool ConsoleDialogs::input(std::string_view, std::string_view prompt, std::string&) {
    print("input (cancelled)", prompt);
    return false;
}

} // namespace harlune
