#pragma once
// Real dialogs: message boxes, Yes/No questions, input queries and file dialogs.
#include "platform/dialogs.h"

class QWidget;

namespace harlune {

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void warning(std::string_view text) override;
    void information(std::string_view text) override;
    void error(std::string_view text) override;
    bool confirm(std::string_view text) override;
    bool confirmWarning(std::string_view text) override;
    bool input(std::string_view caption, std::string_view prompt, std::string& value) override;
    bool openFile(std::string_view title, const std::vector<FileFilter>& filters,
                  std::string& path) override;
    bool saveFile(std::string_view title, const std::vector<FileFilter>& filters,
                  std::string& path) override;
    bool chooseFolder(std::string_view title, std::string& path) override;

private:
    QWidget* parent_;
};

} // namespace harlune
