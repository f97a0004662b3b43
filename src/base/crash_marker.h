#pragma once
// The crash marker "Debug.TMP": before every step that may hang or crash, the step's name is
// written into it, so that after a crash the next start can tell what was done last. The file
// is rewritten completely on every call; write errors are ignored.
#include <string>
#include <string_view>

namespace harlune {

// Sets the marker file (program folder + "/Debug.TMP") and the version shown in its first line.
// Until it is set, Debug writes nothing.
void setCrashMarker(std::string path, std::string versionText);
const std::string& crashMarkerPath();

// Writes the four-line marker with the given action text.
void Debug(std::string_view action);

// The marker's lines for an action text.
std::string crashMarkerText(std::string_view versionText, std::string_view action);

} // namespace harlune
