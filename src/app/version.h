#pragma once
#include <string>

namespace harlune {

// The program's version text, shown in titles and written as PROGVERS.
extern const std::string kVersionText;     // "3.52a"
extern const std::string kMainWindowTitle; // "Harlune Ver. 3.52a"

} // namespace harlune
