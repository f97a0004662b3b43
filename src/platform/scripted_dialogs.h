#pragma once
// Dialogs without a screen: every message is recorded (and, when a log file is set, appended to
// it as "kind<TAB>text" in UTF-8 with \n, \r and \\ escaped), and every question takes the next
// scripted answer: "yes", "no", "ok", "cancel", "text:<typed text>" or "file:<path>". When the
// answers run out, the answer is No / Cancel.
//
// Switched on for the real programs by the environment: HARLUNE_DIALOG_LOG=FILE and
// HARLUNE_DIALOG_ANSWERS=FILE.
#include "platform/dialogs.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace harlune {

class ScriptedDialogs : public Dialogs {
public:
    struct Entry {
        std::string kind; // warning, information, error, confirm, input
        std::string text; // Windows-1252
    };

    ScriptedDialogs() = default;
    // logPath: file to append to (empty: none); answersPath: file of answers (empty: none).
    ScriptedDialogs(std::string logPath, std::string answersPath);

    void addAnswer(std::string answer) { answers_.push_back(std::move(answer)); }
    const std::vector<Entry>& entries() const { return entries_; }
    // The texts of all entries of one kind.
    std::vector<std::string> texts(std::string_view kind) const;
    void clear() { entries_.clear(); }
    size_t answersLeft() const { return answers_.size(); }

    void warning(std::string_view text) override { record("warning", text); }
    void information(std::string_view text) override { record("information", text); }
    void error(std::string_view text) override { record("error", text); }
    bool confirm(std::string_view text) override;
    bool input(std::string_view caption, std::string_view prompt, std::string& value) override;
    bool openFile(std::string_view title, const std::vector<FileFilter>& filters,
                  std::string& path) override;
    bool saveFile(std::string_view title, const std::vector<FileFilter>& filters,
                  std::string& path) override;
    bool chooseFolder(std::string_view title, std::string& path) override;

    // The log line of a message: kind, TAB, UTF-8 text with LF, CR and backslash escaped.
    static std::string logLine(std::string_view kind, std::string_view text);

protected:
    // Called when a question finds no scripted answer (tests make this a failure).
    virtual void unanswered(std::string_view /*kind*/, std::string_view /*text*/) {}

private:
    void record(std::string_view kind, std::string_view text);
    bool nextAnswer(std::string_view kind, std::string_view text, std::string& answer);
    bool pathAnswer(std::string_view kind, std::string_view title, std::string& path);

    std::string logPath_;
    std::deque<std::string> answers_;
    std::vector<Entry> entries_;
};

// A ScriptedDialogs when HARLUNE_DIALOG_LOG or HARLUNE_DIALOG_ANSWERS is set, else nullptr.
std::unique_ptr<ScriptedDialogs> dialogsFromEnvironment();

} // namespace harlune
