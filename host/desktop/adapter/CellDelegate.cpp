#include "adapter/CellDelegate.h"

#include "adapter/GridModel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPainter>

namespace desktop {

namespace {

// The editor never takes the focus or the mouse's clicks on its text: the grid keeps both,
// so that every key and click goes to the model.
void ShowOnly(QWidget* widget) {
    widget->setFocusPolicy(Qt::NoFocus);
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
}

// The editor never holds Qt's focus (the grid does), so Qt draws no text cursor in it; this one
// draws the caret itself where the grid's typing goes, whenever no text is selected.
class CaretEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent* event) override {
        QLineEdit::paintEvent(event);
        if (hasSelectedText()) return;
        const QRect at = cursorRect();
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        const int x = at.center().x();
        painter.drawLine(x, at.top(), x, at.bottom());
    }
};

} // namespace

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const {
    if (index.data(GridModel::DropDownRole).toBool()) {
        auto* combo = new QComboBox(parent);
        combo->setObjectName("cellCombo");
        combo->setEditable(true);
        combo->setFocusPolicy(Qt::NoFocus);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setLineEdit(new CaretEdit(combo));
        ShowOnly(combo->lineEdit());
        combo->addItems(index.data(GridModel::PickListRole).toStringList());
        connect(combo, &QComboBox::activated, this,
                [this, combo](int row) { emit Picked(combo->itemText(row)); });
        return combo;
    }
    auto* edit = new CaretEdit(parent);
    edit->setObjectName("cellEdit");
    edit->setFrame(false);
    ShowOnly(edit);
    return edit;
}

void CellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString text = index.data(GridModel::EditorTextRole).toString();
    const bool selected = index.data(GridModel::EditorSelectedRole).toBool();
    QLineEdit* edit = qobject_cast<QLineEdit*>(editor);
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(combo->findText(text));
        edit = combo->lineEdit();
    }
    if (!edit) return;
    edit->setText(text);
    // Selected text is replaced by the first character typed; after F2 or once typing began
    // the caret stands at the end, where the next character goes.
    if (selected)
        edit->selectAll();
    else
        edit->end(false);
}

void CellDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const {
    // The grid writes its own text into the field; Qt stores nothing.
}

void CellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex&) const {
    editor->setGeometry(option.rect);
}

} // namespace desktop
