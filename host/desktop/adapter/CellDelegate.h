#pragma once
#include <QStyledItemDelegate>

namespace desktop {

/// Opens the cell editor the grid describes on the current cell: a line edit, or a combo box
/// for a column with a drop-down list. The platform owns the editor's text: the editor only
/// shows it, keys go on to the grid, and a pick from the list is reported, never stored by Qt.
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

signals:
    /// The user picked entry from the drop-down list of the current cell.
    void Picked(const QString& entry) const;
};

} // namespace desktop
