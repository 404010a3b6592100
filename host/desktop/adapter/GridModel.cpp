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
        DataNotice(notice);
        emit CurrentMoved();
        break;
    case plat::Change::Editor:
        if (const QModelIndex current = CurrentIndex(); current.isValid())
            emit dataChanged(current, current);
        emit EditorChanged();
        break;
    case plat::Change::Current:
        // The row indicator moves with the current row.
        if (rows_ > 0) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
        emit CurrentMoved();
        break;
    case plat::Change::Column:
        emit CurrentMoved();
        break;
    case plat::Change::State:
        if (rows_ > 0) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
        emit StateChanged();
        break;
    case plat::Change::Columns:
        ColumnNotice(notice);
        break;
    case plat::Change::Field:
        // A display label reaches the titles as a column notice; an edit mask changes how
        // the field's cells read.
        if (notice.property == plat::Property::EditMask && notice.field)
            FieldCellsChanged(notice.field, 0, rows_ - 1);
        break;
    default:
        break;
    }
}

void GridModel::DataNotice(const plat::TNotice& notice) {
    const int now = grid_->RowCount();
    const int row = notice.row;
    switch (notice.rows) {
    case plat::RowChange::Inserted:
        if (row < 0 || row > rows_ || now != rows_ + 1) return Reset();
        beginInsertRows({}, row, row);
        rows_ = now;
        endInsertRows();
        break;
    case plat::RowChange::Removed:
        if (row < 0 || row >= rows_ || now != rows_ - 1) return Reset();
        beginRemoveRows({}, row, row);
        rows_ = now;
        endRemoveRows();
        break;
    case plat::RowChange::Changed:
        if (row < 0 || row >= rows_ || now != rows_) return Reset();
        FieldCellsChanged(notice.field, row, row);
        emit headerDataChanged(Qt::Vertical, row, row);
        break;
    case plat::RowChange::All:
        Reset();
        break;
    }
}

void GridModel::ColumnNotice(const plat::TNotice& notice) {
    const int column = notice.column;
    const bool one = column >= 0 && column < columns_;
    switch (notice.property) {
    case plat::Property::Added:
        if (column < 0 || column > columns_ || grid_->ColumnCount() != columns_ + 1) return Reset();
        beginInsertColumns({}, column, column);
        columns_ = grid_->ColumnCount();
        endInsertColumns();
        break;
    case plat::Property::Title:
        if (one)
            emit headerDataChanged(Qt::Horizontal, column, column);
        else if (columns_ > 0)
            emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
        break;
    case plat::Property::Width:
        break; // the view sets the widths on ColumnsChanged
    case plat::Property::ReadOnly:
    case plat::Property::PickList:
    case plat::Property::ButtonStyle:
    case plat::Property::Alignment:
        // Flags, drop-down and alignment are read per cell: the column's cells (every
        // column's for the grid as a whole) are told to read them again.
        if (one)
            ColumnChanged(column);
        else
            FieldCellsChanged(nullptr, 0, rows_ - 1);
        break;
    default:
        if (grid_->ColumnCount() != columns_) return Reset();
        if (columns_ > 0) emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
        FieldCellsChanged(nullptr, 0, rows_ - 1);
        break;
    }
    emit ColumnsChanged();
}

void GridModel::Reset() {
    beginResetModel();
    rows_ = grid_->RowCount();
    columns_ = grid_->ColumnCount();
    endResetModel();
    emit ColumnsChanged();
}

void GridModel::FieldCellsChanged(const plat::TField* field, int first, int last) {
    if (first > last || columns_ == 0) return;
    if (!field) {
        emit dataChanged(index(first, 0), index(last, columns_ - 1));
        return;
    }
    for (int c = 0; c < columns_; ++c)
        if (grid_->ColumnField(c) == field) emit dataChanged(index(first, c), index(last, c));
}

void GridModel::ColumnChanged(int column) {
    if (rows_ > 0) emit dataChanged(index(0, column), index(rows_ - 1, column));
}

} // namespace desktop
