#pragma once
// The configuration dialog "Harlune Konfigurationen": nine pages of controls bound to the
// fields of the core's ConfigDialogFields; saving, checking and restoring are core logic.
#include "app/config_dialog.h"

#include <QDialog>

#include <functional>
#include <vector>

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;

namespace harlune {

class HarluneApp;

class Tharlunekonfig : public QDialog {
    Q_OBJECT
public:
    Tharlunekonfig(HarluneApp& app, QWidget* parent = nullptr);

    // Copies the configuration into the controls, selects the first page and shows the dialog.
    void anzeigen();
    // The controls' state as the core sees it, and the reverse.
    ConfigDialogFields fields() const;
    void setFields(const ConfigDialogFields& fields);

    void speichernClick();
    void restoreClick();

    QTabWidget* pages() const { return pages_; }
    // The control editing a key (by its key name), for tests.
    QWidget* control(const QString& key) const;
    // Called when the restore asks the application to end (default: quit at once).
    std::function<void()> onRestoreEnd;
    // "aktualisieren": checks the automatic-update folder at once.
    std::function<void()> onAktualisieren;
    // The hooks of a save that belong to the main window.
    ConfigSaveHooks saveHooks;

private:
    struct TextBinding {
        std::string ConfigDialogFields::*member;
        QLineEdit* edit;
    };
    struct CheckBinding {
        bool ConfigDialogFields::*member;
        QAbstractButton* button;
    };
    struct ChoiceBinding {
        int ConfigDialogFields::*member;
        QComboBox* combo;
    };
    QWidget* addPage(const char* title);
    QLineEdit* text(QWidget* page, const char* key, const char* label,
                    std::string ConfigDialogFields::*member, const char* suffix = nullptr);
    QAbstractButton* check(QWidget* page, const char* key, const char* label,
                           bool ConfigDialogFields::*member);
    void radio(QWidget* page, const char* key, const char* on, const char* off,
               bool ConfigDialogFields::*member);
    QComboBox* choice(QWidget* page, const char* key, int ConfigDialogFields::*member);
    void speichern(ConfigDialogFields& fields, const ConfigSaveHooks& hooks);
    void updateServerIpColour();
    void fillSkinList();

    HarluneApp& app_;
    QTabWidget* pages_;
    std::vector<TextBinding> texts_;
    std::vector<CheckBinding> checks_;
    std::vector<ChoiceBinding> choices_;
    QListWidget* skins_ = nullptr;
    QLabel* skinInfo_ = nullptr;
    QLabel* serialStatus_ = nullptr;
    QDialog* pathConversion_ = nullptr;
};

} // namespace harlune
