#include "gui/Tsubdirectory.h"

#include "gui/qt_text.h"
#include "index/directory_reader.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace harlune {

Tsubdirectory::Tsubdirectory(QWidget* parent) : QDialog(parent) {
    setObjectName("Tsubdirectory");
    setWindowTitle(toQt(kDirectoryWindowCaption));
    resize(460, 130);
    auto* layout = new QVBoxLayout(this);
    directory_ = new QLabel(toQt(kWalkIdle), this);
    directory_->setObjectName("directory");
    status_ = new QLabel(toQt(kWalkIdle), this);
    status_->setObjectName("status");
    cancel_ = new QPushButton(QStringLiteral("abbrechen"), this);
    layout->addWidget(directory_);
    layout->addWidget(status_);
    layout->addWidget(cancel_);
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
}

void Tsubdirectory::show() {
    cancelled_ = false;
    directory_->setText(toQt(kWalkIdle));
    status_->setText(toQt(kWalkIdle));
    QDialog::show();
}

void Tsubdirectory::setaktion(std::string_view action) {
    status_->setText(toQt(action));
}

bool Tsubdirectory::pos(long long, long long, bool, std::string_view path) {
    directory_->setText(toQt(path));
    QApplication::processEvents();
    return !cancelled_;
}

void Tsubdirectory::closeframe() {
    directory_->setText(toQt(kWalkIdle));
    status_->setText(toQt(kWalkIdle));
    hide();
}

QString Tsubdirectory::currentDirectory() const {
    return directory_->text();
}

} // namespace harlune
