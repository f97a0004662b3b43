#pragma once
// The name of the user the program runs for.
#include <string>

namespace harlune {

// The login name of the process owner as Windows-1252 text; empty when the system knows no
// name for the user.
std::string Benutzername();

} // namespace harlune
