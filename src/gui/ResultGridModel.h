#pragma once
// The result grid (`Stringgrid1`) as a model over the core's result rows: one row per result,
// the first cell (mark, running number, title) and, when the extra information has a column of
// its own, the second. Only the rows on screen are ever converted to text for Qt, so a million
// results scroll, sort and mark without delay.
#include <QAbstractTableModel>

namespace harlune {

class HarluneApp;

class ResultGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResultGridModel(HarluneApp& app, QObject* parent = nullptr)
        : QAbstractTableModel(parent), app_(app) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The rows were replaced (search, sort, emptied).
    void reset();
    // One row changed (extra information filled in, mark toggled).
    void rowChanged(size_t row);
    void allRowsChanged();

private:
    HarluneApp& app_;
};

} // namespace harlune
