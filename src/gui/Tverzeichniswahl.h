#pragma once
// The directory selection "Bitte Verzeichniss auswählen": a folder tree and the MP3 files of the
// chosen folder; "Ok" reads the folder (with its subfolders when "Lese auch Unterverzeichnisse"
// is ticked) into the builder; "netzwerk pfad" takes a typed path; "alle Laufwerke" reads every
// mounted file system that holds user data.
#include "index/builder.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QFileSystemModel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeView;

namespace harlune {

class Tsubdirectory;

inline constexpr const char* kDirectorySelectionCaption = "Bitte Verzeichniss ausw\xE4hlen";
inline constexpr const char* kWithSubdirectoriesLabel = "Lese auch Unterverzeichnisse";
inline constexpr const char* kNetworkButton = "netzwerk pfad";
inline constexpr const char* kAllDrivesButton = "alle Laufwerke";
inline constexpr const char* kNetworkTitle = "Netzwerkzugriff";
inline constexpr const char* kNetworkPrompt = "Bitte Netzwerkpfad eingeben:";
inline constexpr const char* kNetworkDefault = "\\\\computername\\pfad";

class Tverzeichniswahl : public QDialog {
    Q_OBJECT
public:
    Tverzeichniswahl(IndexBuilder& builder, Tsubdirectory& walkWindow, Dialogs& dialogs,
                     QWidget* parent = nullptr);

    // The folder the tree shows and "Ok" reads (a core path).
    void setCurrentDirectory(const std::string& folder);
    std::string currentDirectory() const;
    void setAllDrivesEnabled(bool enabled);

    void okClick() { einlesen(); }
    // Reads the current folder into the builder.
    void einlesen(bool sameFileSystem = false);
    void netzwerkClick();
    void alleClick();

    // The folders chosen so far ("!" in front when read with subfolders).
    const std::vector<std::string>& chosen() const { return chosen_; }
    // Called after each read (the builder window updates its count label).
    std::function<void()> onRead;

    QCheckBox* mitunterverz;
    QPushButton *ok, *netzwerk, *alle;
    QListWidget* files;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showFiles();
    IndexBuilder& builder_;
    Tsubdirectory& walkWindow_;
    Dialogs& dialogs_;
    QFileSystemModel* model_;
    QTreeView* tree_;
    QLineEdit* path_;
    std::vector<std::string> chosen_;
};

} // namespace harlune
