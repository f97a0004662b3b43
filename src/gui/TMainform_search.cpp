// The main window's search box, switches, result grid, key sink and grid commands.
#include "gui/ResultGridModel.h"
#include "gui/TMainform.h"
#include "gui/qt_text.h"

#include "base/crash_marker.h"
#include "platform/dialogs.h"
#include "search/grid_operations.h"

#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace harlune {
namespace {

struct SwitchText {
    char value;
    const char* label;
    const char* hint;
};
const SwitchText kSources[] = {
    {'t', "Titel/Artist", "Einzugebender Suchbegriff bezeiht sich auf Titel oder Artist"},
    {'a', "Album", "Einzugebender Suchbegriff bezeiht sich auf den Albennamen"},
    {'g', "Zus.", "Auszuw\xE4hlender Suchbegriff ist Mindeswertung / MP3 Gruppe"}};
const SwitchText kMethods[] = {
    {'g', "genau", "Es wird GENAU nach dem eingegebenen Text inc. Leerzeichen gesucht"},
    {'u', "jedes", "JEDES der eingegebenen Wort muss vorhanden sein (Leerzeichen ist Separator)"},
    {'o', "eines", "EINES der eingegebenen Wort muss vorhanden sein (Leerzeichen ist Separator)"}};
const char* const kShowAllText = "alle MP3s anzeigen";
const char* const kSortHint = "Hier kann das aktuelle Suchergebnis sortiert werden";
const char* const kOptionsHint = "Zusatzoptionen f\xFCr das gew\xE4hlte MP3 zeigen";
const char* const kNextHint = "Spielt das n\xE4"
                              "chste MP3 ab";
const char* const kPreviousHint = "Spielt das vorherige MP3 ab";
const char* const kColumnMarker = "B_spaltengr\xF6\xDF"
                                  "e_Mouseup";
constexpr int kKeySinkDelayMs = 100;

// Keys the grid and the key sink take as typed text: blank, digits and punctuation (32..64,
// 91..127), letters A-Z and the German umlauts and sharp s.
bool isSearchChar(const QString& text) {
    if (text.size() != 1)
        return false;
    const char16_t c = text[0].unicode();
    if ((c >= 32 && c <= 64) || (c >= 91 && c <= 127) || (c >= 'A' && c <= 'Z'))
        return true;
    return QStringLiteral("\u00e4\u00f6\u00fc\u00c4\u00d6\u00dc\u00df").contains(text[0]);
}

QToolButton* switchButton(QWidget* parent, const SwitchText& s, const char* prefix) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString(prefix) + s.value);
    b->setText(toQt(s.label));
    b->setToolTip(toQt(s.hint));
    b->setCheckable(true);
    b->setAutoExclusive(true);
    return b;
}

} // namespace

void TMainform::createSearchControls(QVBoxLayout* layout) {
    auto* switches = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        sourceButtons_[i] = switchButton(this, kSources[i], "quelle_");
        switches->addWidget(sourceButtons_[i]);
        connect(sourceButtons_[i], &QToolButton::clicked, this,
                [this, i] { setSource(kSources[i].value); });
    }
    switches->addSpacing(12);
    auto* methods = new QWidget(this);
    auto* methodRow = new QHBoxLayout(methods);
    methodRow->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        methodButtons_[i] = switchButton(methods, kMethods[i], "verfahren_");
        methodRow->addWidget(methodButtons_[i]);
        connect(methodButtons_[i], &QToolButton::clicked, this,
                [this, i] { setMethod(kMethods[i].value); });
    }
    switches->addWidget(methods);
    switches->addStretch(1);
    auto* all = new QToolButton(this);
    all->setObjectName("alle_mp3s");
    all->setText(toQt(kShowAllText));
    connect(all, &QToolButton::clicked, this, &TMainform::showAll);
    switches->addWidget(all);
    layout->addLayout(switches);

    auto* searchRow = new QHBoxLayout;
    search_ = new QComboBox(this);
    search_->setObjectName("Suchbegriffeingabe");
    search_->setEditable(true);
    search_->setInsertPolicy(QComboBox::NoInsert);
    search_->installEventFilter(this);
    keySink_ = new QWidget(this);
    keySink_->setObjectName("keysink");
    keySink_->setFixedSize(1, 1);
    keySink_->setFocusPolicy(Qt::StrongFocus);
    keySink_->installEventFilter(this);
    redDot_ = new QLabel(this);
    redDot_->setObjectName("workerdot");
    redDot_->setFixedSize(12, 12);
    redDot_->setStyleSheet("background:#d01c1c; border-radius:6px;");
    redDot_->setToolTip(
        toQt("Wenn hier ein roter Punkt erscheint, werden grade die Zusatzinformationen der "
             "gezeigten MP3s eingelesen"));
    redDot_->hide();
    searchRow->addWidget(search_, 1);
    searchRow->addWidget(keySink_);
    searchRow->addWidget(redDot_);
    layout->addLayout(searchRow);

    searchDelay_ = new QTimer(this);
    searchDelay_->setSingleShot(true);
    connect(searchDelay_, &QTimer::timeout, this, &TMainform::suchtimerTimer);
    connect(search_, &QComboBox::activated, this, [this] {
        // A chosen drop-down item searches at once when typing does not.
        if (!search_->isEditable() && !app_.config().SOFORTSUCHE)
            runSearch(true);
        else if (!search_->isEditable())
            searchDelay_->start(std::max(1, app_.config().SUCHDELAY));
    });

    pleaseWait_ = new QLabel(toQt(kPleaseWaitText), this);
    pleaseWait_->setObjectName("pleasewait");
    pleaseWait_->setAlignment(Qt::AlignCenter);
    pleaseWait_->setFrameShape(QFrame::Panel);
    pleaseWait_->setAutoFillBackground(true);
    pleaseWait_->resize(160, 40);
    pleaseWait_->hide();

    model_ = new ResultGridModel(app_, this);
    grid_ = new QTableView(this);
    grid_->setObjectName("Stringgrid1");
    grid_->setModel(model_);
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setShowGrid(false);
    grid_->setWordWrap(false);
    grid_->verticalHeader()->setDefaultSectionSize(18);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    grid_->installEventFilter(this);
    connect(grid_, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        QModelIndex index = grid_->indexAt(at);
        if (index.isValid())
            grid_->selectRow(index.row());
        buildContextMenu()->popup(grid_->viewport()->mapToGlobal(at));
    });
    connect(grid_, &QTableView::doubleClicked, this,
            [this] { contextMenuEntry(app_.config().DOPPELKLICKMP3STARTEN ? 0 : 1); });
    layout->addWidget(grid_, 1);

    auto* gridRow = new QHBoxLayout;
    count_ = new QLabel(this);
    count_->setObjectName("anzahl");
    gridRow->addWidget(count_, 1);
    auto* previous = new QToolButton(this);
    previous->setObjectName("vorheriges");
    previous->setText("<<");
    previous->setToolTip(toQt(kPreviousHint));
    auto* next = new QToolButton(this);
    next->setObjectName("naechstes");
    next->setText(">>");
    next->setToolTip(toQt(kNextHint));
    auto* options = new QToolButton(this);
    options->setObjectName("zusatzoptionen");
    options->setText("...");
    options->setToolTip(toQt(kOptionsHint));
    auto* sort = new QToolButton(this);
    sort->setObjectName("sortieren");
    sort->setText("Sortieren");
    sort->setToolTip(toQt(kSortHint));
    sort->setPopupMode(QToolButton::InstantPopup);
    auto* columns = new QToolButton(this);
    columns->setObjectName("spaltengroesse");
    columns->setText("<|>");
    columns->installEventFilter(this);
    for (QToolButton* b : {previous, next, options, sort, columns})
        gridRow->addWidget(b);
    layout->addLayout(gridRow);
    connect(previous, &QToolButton::clicked, this, [this] { selectAndPlay(-1); });
    connect(next, &QToolButton::clicked, this, [this] { selectAndPlay(1); });
    connect(options, &QToolButton::clicked, this, [this] {
        QRect r = grid_->visualRect(model_->index(static_cast<int>(selectedRow()), 0));
        buildContextMenu()->popup(grid_->viewport()->mapToGlobal(r.bottomLeft()));
    });

    // The sort menu: the ten criteria and the two directions.
    auto* sortMenu = new QMenu(sort);
    sortMenu->setObjectName("sortmenu");
    for (int i = 0; i < 10; ++i)
        sortMenu->addAction(toQt(kSortCriteria[i]), this, [this, i] { sortieren(i + 1); });
    sortMenu->addSeparator();
    auto* ascending = sortMenu->addAction(toQt(kSortAscending));
    auto* descending = sortMenu->addAction(toQt(kSortDescending));
    auto* directions = new QActionGroup(sortMenu);
    for (QAction* a : {ascending, descending}) {
        a->setCheckable(true);
        directions->addAction(a);
    }
    ascending->setChecked(true);
    connect(descending, &QAction::toggled, this, [this](bool on) { sortDescending_ = on; });
    sort->setMenu(sortMenu);
    // The menu closes itself 3 seconds after the last mouse movement over it.
    auto* sortClose = new QTimer(sortMenu);
    sortClose->setSingleShot(true);
    sortClose->setInterval(3000);
    connect(sortClose, &QTimer::timeout, sortMenu, &QMenu::close);
    connect(sortMenu, &QMenu::aboutToShow, sortClose, qOverload<>(&QTimer::start));
    connect(sortMenu, &QMenu::hovered, sortClose, qOverload<>(&QTimer::start));
}

QLineEdit* TMainform::searchInput() const {
    return search_ ? search_->lineEdit() : nullptr;
}

void TMainform::suchverfahrenanzeige() {
    Config& c = app_.config();
    SearchBoxSetup setup = harlune::suchverfahrenanzeige(
        c.Suchquelle, c.Suchverfahren, fromQt(search_->currentText()), app_.mp3gruppenliste());
    c.Suchquelle = setup.source;
    c.Suchverfahren = setup.method;
    for (int i = 0; i < 3; ++i) {
        sourceButtons_[i]->setChecked(kSources[i].value == setup.source);
        methodButtons_[i]->setChecked(kMethods[i].value == setup.method);
    }
    QSignalBlocker block(search_);
    search_->clear();
    search_->setEditable(!setup.dropDown);
    if (setup.dropDown) {
        for (const auto& item : setup.items)
            search_->addItem(toQt(item));
        search_->setCurrentIndex(-1);
    } else {
        search_->lineEdit()->setText(toQt(setup.text));
        // A drop-down turned editable again gets a new line edit: connect it once.
        QLineEdit* edit = search_->lineEdit();
        if (edit != connectedInput_) {
            connectedInput_ = edit;
            connect(edit, &QLineEdit::textEdited, this, &TMainform::searchTextEdited);
            connect(edit, &QLineEdit::returnPressed, this, &TMainform::enterPressed,
                    Qt::UniqueConnection);
        }
    }
}

void TMainform::enterPressed() {
    if (search_->currentText().isEmpty())
        return;
    searchDelay_->stop();
    runSearch(true);
}

void TMainform::setSource(char source) {
    app_.config().Suchquelle = source;
    suchverfahrenanzeige();
    sucheextstarten();
}

void TMainform::setMethod(char method) {
    app_.config().Suchverfahren = method;
    suchverfahrenanzeige();
    sucheextstarten();
}

void TMainform::sucheextstarten() {
    if (!app_.config().SOFORTSUCHE)
        runSearch(true);
    else
        searchTextEdited(search_->currentText());
}

void TMainform::showAll() {
    if (search_->isEditable())
        search_->lineEdit()->setText("*");
    sucheextstarten();
    grid_->setFocus();
}

void TMainform::searchTextEdited(const QString& text) {
    if (text.trimmed().isEmpty())
        return;
    searchDelay_->start(std::max(1, app_.config().SUCHDELAY));
}

void TMainform::suchtimerTimer() {
    if (!app_.config().SOFORTSUCHE)
        return;
    if (!search_->currentText().isEmpty())
        runSearch(false);
}

void TMainform::runSearch(bool enter) {
    searchDelay_->stop();
    const std::string text = fromQt(search_->currentText());
    // Keys typed from now on until shortly after the search go to the key sink and are added
    // to the search text afterwards: none is lost, none lands in the middle.
    keySink_->setFocus();
    if (!text.empty()) {
        pleaseWait_->move((width() - pleaseWait_->width()) / 2,
                          (height() - pleaseWait_->height()) / 2 + 25);
        pleaseWait_->raise();
        pleaseWait_->show();
        pleaseWait_->repaint();
    }
    if (onSearching)
        onSearching();
    // The search stops the worker at its point, searches and starts a new pass.
    SearchOutcome outcome = app_.search(
        text, enter, [] { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    model_->reset();
    if (!outcome.indexMissing) {
        count_->setText(toQt(outcome.countText));
        if (isEnabled())
            grid_->setFocus();
        if (!app_.results().empty())
            grid_->selectRow(0);
    }
    if (app_.config().SOFORTSUCHEEINGABELOESCHEN && search_->isEditable())
        search_->lineEdit()->clear();
    pleaseWait_->hide();
    keySink_->setFocus();
    QTimer::singleShot(kKeySinkDelayMs, this, &TMainform::deliverPendingKeys);
    emit searchFinished();
}

void TMainform::deliverPendingKeys() {
    if (!pendingKeys_.isEmpty() && search_->isEditable()) {
        QString text = search_->currentText() + pendingKeys_;
        pendingKeys_.clear();
        search_->lineEdit()->setText(text);
        searchTextEdited(text);
    }
    pendingKeys_.clear();
    grid_->setFocus();
}

void TMainform::appendToSearchText(const QString& text, bool backspace) {
    if (!search_->isEditable())
        return;
    QString current = search_->currentText();
    if (backspace)
        current.chop(1);
    else
        current += text;
    search_->lineEdit()->setText(current);
    searchTextEdited(current);
    if (!app_.config().SOFORTSUCHE) {
        search_->setFocus();
        search_->lineEdit()->setCursorPosition(static_cast<int>(current.size()));
    }
}

size_t TMainform::selectedRow() const {
    QModelIndex current = grid_->currentIndex();
    return current.isValid() ? static_cast<size_t>(current.row()) : 0;
}

bool TMainform::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == keySink_)
            return keySinkPress(key);
        if (watched == grid_)
            return gridKeyPress(key);
        // The line edit has handled Enter; the box must not pass it on (it would hand it to
        // the line edit a second time).
        if (watched == search_ && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
            return true;
    }
    if (watched->objectName() == "spaltengroesse" && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* button = static_cast<QWidget*>(watched);
        columnWidthClick(mouse->position().x() >= button->width() / 2.0);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TMainform::keySinkPress(QKeyEvent* key) {
    if (key->key() == Qt::Key_Backspace) {
        pendingKeys_.chop(1);
        return true;
    }
    if (isSearchChar(key->text()))
        pendingKeys_ += key->text();
    return true;
}

bool TMainform::gridKeyPress(QKeyEvent* key) {
    const QString text = key->text();
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        contextMenuEntry(0);
        return true;
    }
    if (text == "#") {
        contextMenuEntry(1);
        return true;
    }
    if (text == "+") {
        contextMenuEntry(4);
        return true;
    }
    if (text == "<") {
        contextMenuEntry(2);
        return true;
    }
    if (key->key() == Qt::Key_Backspace) {
        appendToSearchText({}, true);
        return true;
    }
    if (isSearchChar(text)) {
        appendToSearchText(text, false);
        return true;
    }
    return false;
}

QMenu* TMainform::buildContextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName("kontextmenue");
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (int i = 0; i < static_cast<int>(std::size(kContextMenuEntries)); ++i) {
        if (i == static_cast<int>(kContextMenuFirstColumn))
            menu->addSeparator();
        menu->addAction(toQt(kContextMenuEntries[i]), this, [this, i] { contextMenuEntry(i); });
    }
    return menu;
}

void TMainform::contextMenuEntry(int entry) {
    const size_t row = selectedRow();
    if (!app_.checkRow(row))
        return;
    switch (entry) {
    case 4: // MP3 Markieren
        app_.toggleMark(row);
        model_->rowChanged(row);
        break;
    case 5: // Alle markieren
        app_.markAll();
        model_->allRowsChanged();
        break;
    case 13: // Spieldauer ausrechnen
        app_.gesamtlaenge(row);
        break;
    default:
        // Playing, the tag editor, copying, deleting, printing and exporting come with their
        // own windows; until then the entries only check the row.
        break;
    }
}

void TMainform::sortieren(int criterion) {
    if (!app_.checkRow(selectedRow()))
        return;
    pleaseWait_->move((width() - pleaseWait_->width()) / 2,
                      (height() - pleaseWait_->height()) / 2 + 25);
    pleaseWait_->show();
    pleaseWait_->repaint();
    if (app_.sortResults(criterion, sortDescending_))
        model_->reset();
    pleaseWait_->hide();
}

void TMainform::selectAndPlay(int delta) {
    if (app_.results().empty())
        return;
    long row = static_cast<long>(selectedRow()) + delta;
    row = std::clamp(row, 0L, static_cast<long>(app_.results().size()) - 1);
    grid_->selectRow(static_cast<int>(row));
    contextMenuEntry(0);
}

void TMainform::columnWidthClick(bool wider) {
    Debug(kColumnMarker);
    int& width = app_.config().Spaltenposition;
    if (!app_.results().empty() && app_.results().cell1(0).empty())
        app_.results().setCell1(0, "|");
    const int gridWidth = grid_->viewport()->width();
    if (wider && gridWidth > width + 20)
        width += 10;
    else if (!wider && width > 20)
        width -= 10;
    applyColumnWidths();
    model_->rowChanged(0);
}

void TMainform::applyColumnWidths() {
    if (app_.config().AlseigeneSpalte) {
        grid_->setColumnWidth(
            0, std::max(20, grid_->viewport()->width() - app_.config().Spaltenposition));
        grid_->setColumnWidth(1, app_.config().Spaltenposition);
    } else {
        grid_->setColumnWidth(0, 10000);
    }
}

} // namespace harlune
