#include "base/ini_file.h"

#include "base/line_file.h"
#include "base/numbers.h"
#include "base/paths.h"
#include "base/text.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace harlune {
namespace {
bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && asciiUpper(a) == asciiUpper(b);
}
} // namespace

bool IniFile::load() {
    preamble_.clear();
    sections_.clear();
    std::error_code ec;
    if (!std::filesystem::exists(fsPath(path_), ec))
        return true;
    std::ifstream in(fsPath(path_), std::ios::binary);
    if (!in)
        return false;
    std::stringstream ss;
    ss << in.rdbuf();
    if (in.bad())
        return false;
    parse(ss.str());
    return true;
}

void IniFile::parse(std::string_view text) {
    preamble_.clear();
    sections_.clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        std::string line(text.substr(start, nl == std::string_view::npos ? nl : nl - start));
        start = nl == std::string_view::npos ? text.size() : nl + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string t = trim(line);
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            sections_.push_back({trim(t.substr(1, t.size() - 2)), {}});
            continue;
        }
        size_t eq = line.find('=');
        Line entry;
        if (eq != std::string::npos && !t.empty() && t[0] != ';') {
            entry.key = trim(line.substr(0, eq));
            entry.value = line.substr(eq + 1);
        }
        if (entry.key.empty())
            entry.raw = line;
        if (sections_.empty())
            preamble_.push_back(line);
        else
            sections_.back().lines.push_back(std::move(entry));
    }
}

std::string IniFile::text() const {
    std::string out;
    for (const auto& line : preamble_)
        out += line + "\r\n";
    for (const auto& s : sections_) {
        out += "[" + s.name + "]\r\n";
        for (const auto& l : s.lines)
            out += (l.key.empty() ? l.raw : l.key + "=" + l.value) + "\r\n";
    }
    return out;
}

bool IniFile::save(std::string* error) const {
    const std::string work = path_ + ".new";
    const std::string content = text();
    // A file the user made read-only stays unwritable, as it would be when written in place.
    if (::access(fsPath(path_).c_str(), F_OK) == 0 && ::access(fsPath(path_).c_str(), W_OK) != 0) {
        if (error)
            *error = lastErrorText();
        return false;
    }
    std::FILE* f = std::fopen(fsPath(work).c_str(), "wb");
    bool ok = f != nullptr;
    if (ok) {
        ok = std::fwrite(content.data(), 1, content.size(), f) == content.size();
        ok = std::fflush(f) == 0 && ok;
        ok = ::fsync(fileno(f)) == 0 && ok;
        ok = std::fclose(f) == 0 && ok;
    }
    if (ok)
        ok = std::rename(fsPath(work).c_str(), fsPath(path_).c_str()) == 0;
    if (!ok) {
        if (error)
            *error = lastErrorText();
        std::remove(fsPath(work).c_str());
    }
    return ok;
}

IniFile::Section* IniFile::findSection(std::string_view name) {
    for (auto& s : sections_)
        if (sameName(s.name, name))
            return &s;
    return nullptr;
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
    return const_cast<IniFile*>(this)->findSection(name);
}

const IniFile::Line* IniFile::findKey(std::string_view section, std::string_view key) const {
    const Section* s = findSection(section);
    if (!s)
        return nullptr;
    for (const auto& l : s->lines)
        if (!l.key.empty() && sameName(l.key, key))
            return &l;
    return nullptr;
}

bool IniFile::hasSection(std::string_view section) const {
    return findSection(section);
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
    return findKey(section, key) != nullptr;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    const Line* l = findKey(section, key);
    return l ? trim(l->value) : std::string(fallback);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int fallback) const {
    const Line* l = findKey(section, key);
    return l ? toIntDef(trim(l->value), fallback) : fallback;
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool fallback) const {
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = findSection(section);
    if (!s) {
        sections_.push_back({std::string(section), {}});
        s = &sections_.back();
    }
    for (auto& l : s->lines) {
        if (!l.key.empty() && sameName(l.key, key)) {
            l.value = std::string(value);
            return;
        }
    }
    // New keys go after the last key of the section, before trailing blank lines.
    auto at = s->lines.end();
    while (at != s->lines.begin() && std::prev(at)->key.empty() && trim(std::prev(at)->raw).empty())
        --at;
    s->lines.insert(at, Line{std::string(key), std::string(value), {}});
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

void IniFile::eraseSection(std::string_view section) {
    std::erase_if(sections_, [&](const Section& s) { return sameName(s.name, section); });
}

void IniFile::deleteKey(std::string_view section, std::string_view key) {
    if (Section* s = findSection(section))
        std::erase_if(s->lines, [&](const Line& l) { return sameName(l.key, key); });
}

std::vector<std::string> IniFile::sections() const {
    std::vector<std::string> names;
    for (const auto& s : sections_)
        names.push_back(s.name);
    return names;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
    std::vector<std::string> names;
    if (const Section* s = findSection(section))
        for (const auto& l : s->lines)
            if (!l.key.empty())
                names.push_back(l.key);
    return names;
}

} // namespace harlune
