#pragma once
// Paths. The core keeps paths as Windows-1252 byte strings (with the escapes of cp1252.h for
// names the code page cannot hold); the file system sees UTF-8. New paths are built with the
// native separator "/"; helpers that take a path apart accept "/" and "\" alike, so that index
// files made on Windows still show the right names.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace harlune {

std::filesystem::path fsPath(std::string_view path);
std::string fromFsPath(const std::filesystem::path& path);

// dir + "/" + name (no doubled separator).
std::string joinPath(std::string_view dir, std::string_view name);
// The part after the last "/" or "\" (the whole text when there is none).
std::string fileNamePart(std::string_view path);
// The part before the last "/" or "\" (empty when there is none).
std::string folderPart(std::string_view path);

bool fileExists(std::string_view path);      // a regular file (or a link to one)
bool directoryExists(std::string_view path); // a folder
bool fileOrFolderExists(std::string_view path);

// The existing file whose name equals the name of `path` without regard to ASCII letter case
// (the path itself when it exists). Two candidates that differ only in case are a conflict:
// `conflict` is set and nothing is returned.
std::optional<std::string> findCaseVariant(std::string_view path, bool* conflict = nullptr);

// Makes a file writable for its owner when it is not.
void makeOwnerWritable(std::string_view path);

} // namespace harlune
