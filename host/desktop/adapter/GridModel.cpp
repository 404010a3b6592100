#include "adapter/GridModel.h"

#include "data/ClientDataSet.h"
#include "ui/DBGrid.h"

#include <QStringList>

namespace desktop {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

GridModel::GridModel(plat::TDBGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(&grid), rows_(grid.RowCount()),
      columns_(grid.ColumnCount()) {
    observers_.WatchNotices(
        grid, [this](plat::TObservable&, const plat::TNotice& notice) { Observe(notice); });
}

void GridModel::Detach() {
    if (!grid_) return;
    observers_.Silence();
    beginResetModel();
    grid_ = nullptr;
    rows_ = columns_ = 0;
    endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!grid_ || !index.isValid() || index.row() >= grid_->RowCount() ||
        index.column() >= grid_->ColumnCount())
        return {};
    const plat::TColumn& column = grid_->Column(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return Text(grid_->CellText(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        switch (column.Alignment) {
        case plat::TAlignment::Right:
            return int(Qt::AlignRight | Qt::AlignVCenter);
        case plat::TAlignment::Center:
            return int(Qt::AlignCenter);
        case plat::TAlignment::Left:
            break;
        }
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case PickListRole: {
        QStringList entries;
        for (const std::string& entry : column.PickList)
            entries << Text(entry);
        return entries;
    }
    case DropDownRole:
        return grid_->DropDownShown(index.column());
    case EditorTextRole:
        return Text(grid_->EditorText());
    case EditorModifiedRole:
        return grid_->EditorModified();
    case EditorSelectedRole:
        return grid_->EditorSelected();
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!grid_ || role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal)
        return section < grid_->ColumnCount() ? Text(grid_->ColumnTitle(section)) : QVariant();
    // The row indicator: where the cursor is, and whether that row is a new one.
    if (section != grid_->CurrentRow()) return QString();
    const plat::TClientDataSet* dataSet = grid_->DataSet();
    if (dataSet && dataSet->State() == plat::TDataSetState::Insert) return QStringLiteral("*");
    if (dataSet && dataSet->State() == plat::TDataSetState::Edit) return QStringLiteral("I");
    return QStringLiteral("▶");
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!grid_ || !index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!grid_->ReadOnly() && index.column() < grid_->ColumnCount() &&
        !grid_->Column(index.column()).ReadOnly)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QModelIndex GridModel::CurrentIndex() const {
    if (!grid_) return {};
    const int row = grid_->CurrentRow();
    const int column = grid_->SelectedIndex();
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) return {};
    return index(row, column);
}

void GridModel::Observe(const plat::TNotice& notice) {
    switch (notice.what) {
    case plat::Change::Data:
        if (notice.rows == plat::RowChange::All || !RowChanged(notice)) RowsChanged();
        emit CurrentMoved();
        break;
    case plat::Change::Editor:
        if (const QModelIndex current = CurrentIndex(); current.isValid())
            emit dataChanged(current, current);
        emit EditorChanged();
        break;
    case plat::Change::Current:
    case plat::Change::Column:
        if (rows_ > 0) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
        emit CurrentMoved();
        break;
    case plat::Change::State:
        if (rows_ > 0) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
        emit StateChanged();
        break;
    case plat::Change::Columns:
    case plat::Change::Field:
        ColumnsReshaped();
        break;
    default:
        break;
    }
}

bool GridModel::RowChanged(const plat::TNotice& notice) {
    const int now = grid_->RowCount();
    const int row = notice.row;
    switch (notice.rows) {
    case plat::RowChange::Inserted:
        if (now != rows_ + 1 || row < 0 || row > rows_) return false;
        beginInsertRows({}, row, row);
        rows_ = now;
        endInsertRows();
        return true;
    case plat::RowChange::Removed:
        if (now != rows_ - 1 || row < 0 || row >= rows_) return false;
        beginRemoveRows({}, row, row);
        rows_ = now;
        endRemoveRows();
        return true;
    case plat::RowChange::Changed:
        if (now != rows_ || row < 0 || row >= rows_) return false;
        if (columns_ > 0) emit dataChanged(index(row, 0), index(row, columns_ - 1));
        return true;
    case plat::RowChange::All:
        break;
    }
    return false;
}

void GridModel::RowsChanged() {
    const int now = grid_->RowCount();
    if (now > rows_) {
        beginInsertRows({}, rows_, now - 1);
        rows_ = now;
        endInsertRows();
    } else if (now < rows_) {
        beginRemoveRows({}, now, rows_ - 1);
        rows_ = now;
        endRemoveRows();
    }
    if (rows_ > 0 && columns_ > 0) {
        emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
        emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
    }
}

void GridModel::ColumnsReshaped() {
    const int now = grid_->ColumnCount();
    if (now != columns_) {
        beginResetModel();
        columns_ = now;
        rows_ = grid_->RowCount();
        endResetModel();
    } else if (columns_ > 0) {
        emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
        if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
    }
    emit ColumnsChanged();
}

} // namespace desktop
