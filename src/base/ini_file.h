#pragma once
// INI files (configuration, tool profiles, skin descriptions).
//
// Rules: section and key names match without regard to ASCII case; values are read trimmed;
// integers are decimal text and a missing or non-numeric value reads as the default; booleans
// are written "1"/"0" and any non-zero integer reads as true. Writing keeps every other section,
// key and line of the file as it stood. Lines end in CR LF when written.
#include <string>
#include <string_view>
#include <vector>

namespace harlune {

class IniFile {
public:
    IniFile() = default;
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    void setPath(std::string path) { path_ = std::move(path); }

    // Reads the file; a missing file gives an empty INI and true. False when it exists but
    // cannot be read.
    bool load();
    // Writes the whole file (to a work file beside it, then renamed over it, so that a failed
    // write never leaves half a file). On failure `error` gets the system's text.
    bool save(std::string* error = nullptr) const;

    bool hasSection(std::string_view section) const;
    bool hasKey(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    int readInteger(std::string_view section, std::string_view key, int fallback) const;
    bool readBool(std::string_view section, std::string_view key, bool fallback) const;

    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int value);
    void writeBool(std::string_view section, std::string_view key, bool value);

    void eraseSection(std::string_view section);
    void deleteKey(std::string_view section, std::string_view key);
    std::vector<std::string> sections() const;
    std::vector<std::string> keys(std::string_view section) const;

    // The file's text as save() would write it.
    std::string text() const;
    void parse(std::string_view text);

private:
    struct Line {
        std::string key;   // empty for a line that is not "key=value" (comment, blank)
        std::string value; // raw value (untrimmed)
        std::string raw;   // the line as read, for lines without key
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };
    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;
    const Line* findKey(std::string_view section, std::string_view key) const;

    std::string path_;
    std::vector<std::string> preamble_; // lines before the first section
    std::vector<Section> sections_;
};

} // namespace harlune
