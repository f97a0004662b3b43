#include "app/version.h"

namespace harlune {

const std::string kVersionText = "3.52a";
const std::string kMainWindowTitle = "Harlune Ver. " + kVersionText;

} // namespace harlune
