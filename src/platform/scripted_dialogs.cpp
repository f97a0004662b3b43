#include "platform/scripted_dialogs.h"

#include "base/cp1252.h"
#include "base/line_file.h"

#include <cstdlib>

namespace harlune {

ScriptedDialogs::ScriptedDialogs(std::string logPath, std::string answersPath)
    : logPath_(std::move(logPath)) {
    std::vector<std::string> lines;
    if (!answersPath.empty() && readLines(answersPath, lines))
        answers_.assign(lines.begin(), lines.end());
}

std::string ScriptedDialogs::logLine(std::string_view kind, std::string_view text) {
    std::string line(kind);
    line += '\t';
    for (char c : cp1252ToUtf8(text)) {
        if (c == '\n')
            line += "\\n";
        else if (c == '\r')
            line += "\\r";
        else if (c == '\\')
            line += "\\\\";
        else
            line += c;
    }
    return line;
}

void ScriptedDialogs::record(std::string_view kind, std::string_view text) {
    entries_.push_back({std::string(kind), std::string(text)});
    if (logPath_.empty())
        return;
    // The log is UTF-8 with LF line ends, one line per dialog; written at once so that a
    // process that is killed later has still logged what it showed.
    std::string line = logLine(kind, text) + "\n";
    if (std::FILE* f = std::fopen(logPath_.c_str(), "ab")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
}

std::vector<std::string> ScriptedDialogs::texts(std::string_view kind) const {
    std::vector<std::string> out;
    for (const auto& e : entries_)
        if (e.kind == kind)
            out.push_back(e.text);
    return out;
}

bool ScriptedDialogs::nextAnswer(std::string_view kind, std::string_view text,
                                 std::string& answer) {
    if (answers_.empty()) {
        unanswered(kind, text);
        return false;
    }
    answer = answers_.front();
    answers_.pop_front();
    return true;
}

bool ScriptedDialogs::confirm(std::string_view text) {
    record("confirm", text);
    std::string answer;
    return nextAnswer("confirm", text, answer) && (answer == "yes" || answer == "ok");
}

bool ScriptedDialogs::input(std::string_view /*caption*/, std::string_view prompt,
                            std::string& value) {
    record("input", prompt);
    std::string answer;
    if (!nextAnswer("input", prompt, answer))
        return false;
    if (answer.rfind("text:", 0) == 0) {
        value = utf8ToCp1252(answer.substr(5));
        return true;
    }
    return answer == "ok" || answer == "yes";
}

bool ScriptedDialogs::pathAnswer(std::string_view kind, std::string_view title, std::string& path) {
    std::string answer;
    if (!nextAnswer(kind, title, answer))
        return false;
    for (std::string_view prefix : {"file:", "text:"}) {
        if (answer.rfind(prefix, 0) == 0) {
            path = utf8ToCp1252(answer.substr(prefix.size()));
            return true;
        }
    }
    return false;
}

bool ScriptedDialogs::openFile(std::string_view title, const std::vector<FileFilter>&,
                               std::string& path) {
    return pathAnswer("open", title, path);
}

bool ScriptedDialogs::saveFile(std::string_view title, const std::vector<FileFilter>&,
                               std::string& path) {
    return pathAnswer("save", title, path);
}

bool ScriptedDialogs::chooseFolder(std::string_view title, std::string& path) {
    return pathAnswer("folder", title, path);
}

std::unique_ptr<ScriptedDialogs> dialogsFromEnvironment() {
    const char* log = std::getenv("HARLUNE_DIALOG_LOG");
    const char* answers = std::getenv("HARLUNE_DIALOG_ANSWERS");
    if ((!log || !*log) && (!answers || !*answers))
        return nullptr;
    return std::make_unique<ScriptedDialogs>(log ? log : "", answers ? answers : "");
}

} // namespace harlune
