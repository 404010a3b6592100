#pragma once
#include "adapter/Observers.h"

#include <QAbstractTableModel>

namespace plat {
class TDBGrid;
class TField;
struct TNotice;
} // namespace plat

namespace desktop {

/// A platform data grid as a Qt table: one row per row the grid shows (the row being inserted
/// included), one column per grid column, cell texts as the grid draws them (the typed text of
/// the current cell included). It follows the grid's notices with row and data signals.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    /// Roles beyond Qt's own.
    enum Role {
        PickListRole = Qt::UserRole + 1, ///< QStringList of the column's drop-down entries
        DropDownRole,                    ///< bool: the column shows its drop-down button
        EditorTextRole,                  ///< the cell editor's text (current cell)
        EditorModifiedRole,              ///< bool: the editor holds typed text
        EditorSelectedRole,              ///< bool: the editor's text is selected
    };

    explicit GridModel(plat::TDBGrid& grid, QObject* parent = nullptr);

    plat::TDBGrid* Grid() const { return grid_; }
    /// The grid is gone (its form was destroyed): the model shows nothing from now on.
    void Detach();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    /// The model's current cell: current row and selected column (invalid when none).
    QModelIndex CurrentIndex() const;

signals:
    /// Current row or selected column changed.
    void CurrentMoved();
    /// The cell editor's text changed.
    void EditorChanged();
    /// Column widths, titles or flags changed.
    void ColumnsChanged();
    /// The dataset's state changed (browsing, editing, inserting).
    void StateChanged();

private:
    void Observe(const plat::TNotice& notice);
    void DataNotice(const plat::TNotice& notice);
    void ColumnNotice(const plat::TNotice& notice);
    /// Reads every row and column again: for a whole-data notice, or when a notice does not
    /// fit the rows the view holds.
    void Reset();
    /// The cells of the columns bound to field (every column when field is null) in rows
    /// first to last changed.
    void FieldCellsChanged(const plat::TField* field, int first, int last);
    void ColumnChanged(int column);

    plat::TDBGrid* grid_;
    int rows_ = 0;
    int columns_ = 0;
    Observers observers_;
};

} // namespace desktop
