#pragma once
// Where the program keeps its files.
#include <string>
#include <string_view>

namespace harlune {

// The five subfolders an installed program folder holds, in the order they are checked.
inline constexpr const char* kProgramSubfolders[] = {"Skins", "download", "Playlists", "DOC",
                                                     "Konfigs"};

// The program folder, without a trailing separator, as a core (Windows-1252) path:
// the argument when one is given (every "\" turned into the native "/"); else the executable's
// folder when it holds the five subfolders; else the per-user data folder
// ($XDG_DATA_HOME/Harlune, default ~/.local/share/Harlune), created with its subfolders when
// it does not exist yet.
std::string resolveProgramFolder(std::string_view argument, const char* argv0);

} // namespace harlune
