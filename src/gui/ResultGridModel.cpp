#include "gui/ResultGridModel.h"

#include "app/harlune_app.h"
#include "gui/qt_text.h"

namespace harlune {

int ResultGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(app_.results().size());
}

int ResultGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : (app_.config().AlseigeneSpalte ? 2 : 1);
}

QVariant ResultGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() ||
        static_cast<size_t>(index.row()) >= app_.results().size())
        return {};
    const size_t row = static_cast<size_t>(index.row());
    return toQt(index.column() == 0 ? app_.results().cell0(row) : app_.results().cell1(row));
}

void ResultGridModel::reset() {
    beginResetModel();
    endResetModel();
}

void ResultGridModel::rowChanged(size_t row) {
    const int r = static_cast<int>(row);
    emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}

void ResultGridModel::allRowsChanged() {
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

} // namespace harlune
