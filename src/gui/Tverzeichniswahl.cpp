#include "gui/Tverzeichniswahl.h"

#include "base/crash_marker.h"
#include "base/paths.h"
#include "gui/Tsubdirectory.h"
#include "gui/qt_text.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace harlune {
namespace {
const char* const kDebugAllDrives = "Einlesen aller Laufwerke";
const char* const kDebugRead = "Dateien u. Unterverzeichnisse einlesen";

QString toFs(const std::string& core) {
    return QString::fromStdString(fsPath(core).string());
}
std::string fromFs(const QString& path) {
    return fromFsPath(std::filesystem::path(path.toStdString()));
}
} // namespace

Tverzeichniswahl::Tverzeichniswahl(IndexBuilder& builder, Tsubdirectory& walkWindow,
                                   Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), builder_(builder), walkWindow_(walkWindow), dialogs_(dialogs) {
    setObjectName("Tverzeichniswahl");
    setWindowTitle(toQt(kDirectorySelectionCaption));
    setModal(true);
    resize(560, 420);
    auto* layout = new QVBoxLayout(this);
    path_ = new QLineEdit(this);
    path_->setObjectName("path");
    layout->addWidget(path_);
    auto* panes = new QHBoxLayout;
    layout->addLayout(panes);
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_->setRootPath(QString());
    tree_ = new QTreeView(this);
    tree_->setModel(model_);
    for (int c = 1; c < model_->columnCount(); ++c)
        tree_->hideColumn(c);
    tree_->setHeaderHidden(true);
    panes->addWidget(tree_, 2);
    files = new QListWidget(this);
    files->setObjectName("files");
    panes->addWidget(files, 1);
    mitunterverz = new QCheckBox(toQt(kWithSubdirectoriesLabel), this);
    mitunterverz->setObjectName("mitunterverz");
    mitunterverz->setChecked(true);
    layout->addWidget(mitunterverz);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    ok = new QPushButton(QStringLiteral("Ok"), this);
    netzwerk = new QPushButton(toQt(kNetworkButton), this);
    alle = new QPushButton(toQt(kAllDrivesButton), this);
    for (auto* b : {ok, netzwerk, alle})
        buttons->addWidget(b);
    connect(ok, &QPushButton::clicked, this, &Tverzeichniswahl::okClick);
    connect(netzwerk, &QPushButton::clicked, this, &Tverzeichniswahl::netzwerkClick);
    connect(alle, &QPushButton::clicked, this, &Tverzeichniswahl::alleClick);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                path_->setText(toQt(fromFs(model_->filePath(index))));
                showFiles();
            });
    connect(path_, &QLineEdit::editingFinished, this, [this] { showFiles(); });
    setCurrentDirectory(fromFs(QDir::homePath()));
}

void Tverzeichniswahl::setCurrentDirectory(const std::string& folder) {
    path_->setText(toQt(folder));
    const QModelIndex index = model_->index(toFs(folder));
    if (index.isValid()) {
        tree_->setCurrentIndex(index);
        tree_->scrollTo(index);
    }
    showFiles();
}

std::string Tverzeichniswahl::currentDirectory() const {
    return fromQt(path_->text());
}

void Tverzeichniswahl::setAllDrivesEnabled(bool enabled) {
    alle->setEnabled(enabled);
}

void Tverzeichniswahl::showFiles() {
    // The file box only shows what is there: a folder that cannot be read stays empty here
    // and is reported when it is read.
    files->clear();
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(fsPath(currentDirectory()), ec), end;
         !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && isMp3Name(it->path().filename().native()))
            names.push_back(fromFsPath(it->path().filename()));
    }
    std::sort(names.begin(), names.end());
    for (const auto& name : names)
        files->addItem(toQt(name));
}

void Tverzeichniswahl::einlesen(bool sameFileSystem) {
    setEnabled(false);
    const std::string folder = currentDirectory();
    const bool withSubdirectories = mitunterverz->isChecked();
    chosen_.push_back((withSubdirectories ? "!" : "") + folder);
    Debug(kDebugRead);
    builder_.add(Getfilepath(folder, {withSubdirectories, sameFileSystem}, dialogs_, &walkWindow_));
    setEnabled(true);
    if (onRead)
        onRead();
}

void Tverzeichniswahl::netzwerkClick() {
    std::string value = kNetworkDefault;
    if (dialogs_.input(kNetworkTitle, kNetworkPrompt, value) && value.size() > 1)
        setCurrentDirectory(value);
}

void Tverzeichniswahl::alleClick() {
    Debug(kDebugAllDrives);
    for (const auto& mountPoint : dataMountPoints()) {
        setCurrentDirectory(mountPoint);
        einlesen(true);
    }
}

void Tverzeichniswahl::closeEvent(QCloseEvent* event) {
    setEnabled(true);
    QDialog::closeEvent(event);
}

} // namespace harlune
