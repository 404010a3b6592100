#include "adapter/GridView.h"

#include "adapter/ActionSink.h"
#include "adapter/CellDelegate.h"
#include "adapter/GridModel.h"
#include "adapter/KeyMap.h"
#include "ui/DBGrid.h"
#include "ui/Form.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSettings>
#include <QTimer>

namespace desktop {

GridView::GridView(plat::TDBGrid& grid, ActionSink& sink, QString settingsKey, QWidget* parent)
    : QTableView(parent), grid_(&grid), sink_(sink), model_(new GridModel(grid, this)),
      delegate_(new CellDelegate(this)), settingsKey_(std::move(settingsKey)) {
    setObjectName(QString::fromStdString(grid.Name()));
    setModel(model_);
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::StrongFocus);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumWidth(18);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);

    connect(model_, &GridModel::CurrentMoved, this, &GridView::FollowModel);
    connect(model_, &GridModel::StateChanged, this, &GridView::FollowModel);
    connect(model_, &GridModel::ColumnsChanged, this, [this] {
        ApplyColumnWidths();
        FollowModel();
    });
    connect(model_, &GridModel::EditorChanged, this, [this] {
        if (QWidget* editor = editorIndex_.isValid() ? indexWidget(editorIndex_) : nullptr)
            delegate_->setEditorData(editor, editorIndex_);
    });
    connect(model_, &QAbstractItemModel::modelReset, this, &GridView::FollowModel);
    connect(delegate_, &CellDelegate::Picked, this, &GridView::Pick);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (!applyingWidths_) SaveColumnWidths();
    });
    ApplyColumnWidths();
    FollowModel();
}

void GridView::Detach() {
    grid_ = nullptr;
    editorIndex_ = QPersistentModelIndex();
    model_->Detach();
}

bool GridView::ModelFocused() const {
    const plat::TForm* form = grid_ ? grid_->Form() : nullptr;
    return form && form->ActiveControl() == grid_;
}

void GridView::FollowModel() {
    if (!grid_) return;
    const QModelIndex current = model_->CurrentIndex();
    if (current.isValid()) {
        if (selectionModel()->currentIndex() != current)
            selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
        scrollTo(current);
    } else {
        selectionModel()->clear();
    }
    UpdateEditor();
}

void GridView::UpdateEditor() {
    QModelIndex wanted;
    if (grid_ && ModelFocused() && grid_->CanEditCurrent()) wanted = model_->CurrentIndex();
    if (editorIndex_.isValid() && editorIndex_ == wanted) {
        QWidget* editor = indexWidget(wanted);
        const bool list = wanted.data(GridModel::DropDownRole).toBool();
        if (editor && list == (qobject_cast<QComboBox*>(editor) != nullptr)) {
            delegate_->setEditorData(editor, wanted);
            return;
        }
    }
    // Another cell, or the same one with a list now where there was none: open it afresh.
    if (editorIndex_.isValid()) closePersistentEditor(editorIndex_);
    editorIndex_ = wanted;
    if (!wanted.isValid()) return;
    openPersistentEditor(wanted);
    if (QWidget* editor = indexWidget(wanted)) delegate_->setEditorData(editor, wanted);
}

bool GridView::OpenDropDown() {
    auto* combo =
        editorIndex_.isValid() ? qobject_cast<QComboBox*>(indexWidget(editorIndex_)) : nullptr;
    if (!combo) return false;
    combo->showPopup();
    return true;
}

void GridView::Pick(const QString& entry) {
    if (!grid_) return;
    plat::TDBGrid* grid = grid_;
    sink_.Act([grid, text = entry.toStdString()] { grid->Pick(text); });
}

bool GridView::event(QEvent* event) {
    // Tab and Shift+Tab belong to the grid (column moves), not to Qt's focus chain; and no
    // window shortcut may take a key the grid acts on.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (TranslateKey(*key).kind != PlatformKey::Kind::None &&
            !key->modifiers().testFlag(Qt::ControlModifier)) {
            event->accept();
            return true;
        }
        if (key->key() == Qt::Key_Delete) { // Ctrl+Delete deletes the row
            event->accept();
            return true;
        }
    }
    return QTableView::event(event);
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if (!grid_) return;
    event->accept();
    // Opening a drop-down list is the editor's business; the grid model has no key for it.
    if ((event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier) ||
        (event->key() == Qt::Key_F4 && event->modifiers() == Qt::NoModifier)) {
        if (OpenDropDown()) return;
    }
    const PlatformKey key = TranslateKey(*event);
    plat::TForm* form = grid_->Form();
    if (!form || key.kind == PlatformKey::Kind::None) return;
    sink_.Act([form, key] { form->PressKey(key.key, key.shift, key.text.toStdString()); });
}

void GridView::mousePressEvent(QMouseEvent* event) {
    if (!grid_ || event->button() != Qt::LeftButton) return;
    plat::TDBGrid* grid = grid_;
    plat::TForm* form = grid->Form();
    const QModelIndex cell = indexAt(event->position().toPoint());
    const bool wasCurrent = cell.isValid() && cell == model_->CurrentIndex() && ModelFocused();
    sink_.Act([form, grid, cell] {
        if (cell.isValid())
            grid->ClickCell(cell.row(), cell.column());
        else if (form && form->ActiveControl() != grid)
            form->MoveFocus(*grid); // below the last row the grid only takes the focus
    });
    // A second click on the current cell opens its list, as a click on its button does.
    if (wasCurrent) OpenDropDown();
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void GridView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    UpdateEditor();
    // Qt moves its focus on its own (a window hidden, a widget shown): that is no user action.
    // The model keeps its active control, and Qt's focus goes back to it afterwards. A click
    // moves the model's focus in mousePressEvent.
    if (!grid_ || sink_.SyncingFocus() || ModelFocused()) return;
    QTimer::singleShot(0, this, [this] {
        if (grid_) sink_.Act({});
    });
}

void GridView::ApplyColumnWidths() {
    if (!grid_) return;
    applyingWidths_ = true;
    const QStringList saved =
        settingsKey_.isEmpty() ? QStringList() : QSettings().value(settingsKey_).toStringList();
    for (int i = 0; i < grid_->ColumnCount(); ++i) {
        bool ok = false;
        const int width = i < saved.size() ? saved[i].toInt(&ok) : 0;
        setColumnWidth(i, ok && width > 0 ? width : grid_->Column(i).Width);
    }
    applyingWidths_ = false;
}

void GridView::SaveColumnWidths() {
    if (settingsKey_.isEmpty() || !grid_) return;
    QStringList widths;
    for (int i = 0; i < model_->columnCount(); ++i)
        widths << QString::number(columnWidth(i));
    QSettings().setValue(settingsKey_, widths);
}

} // namespace desktop
