#pragma once
#include <QPersistentModelIndex>
#include <QString>
#include <QTableView>

namespace plat {
class TDBGrid;
}

namespace desktop {

class ActionSink;
class CellDelegate;
class GridModel;

/// A platform data grid on screen. It shows the model's current row and selected column and
/// the cell editor on the current cell while it holds the focus; every key, click and focus
/// change goes to the model, which decides what happens. Column widths the user sets are kept
/// under settingsKey.
class GridView : public QTableView {
    Q_OBJECT
public:
    GridView(plat::TDBGrid& grid, ActionSink& sink, QString settingsKey, QWidget* parent = nullptr);

    GridModel& Model() const { return *model_; }
    /// Follows the model: current cell, editor, column widths.
    void FollowModel();
    /// The grid's form is gone: show nothing and forward nothing from now on.
    void Detach();
    /// Opens the drop-down list of the current cell, when it has one.
    bool OpenDropDown();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    bool ModelFocused() const;
    void UpdateEditor();
    void ApplyColumnWidths();
    void SaveColumnWidths();
    void Pick(const QString& entry);

    plat::TDBGrid* grid_;
    ActionSink& sink_;
    GridModel* model_;
    CellDelegate* delegate_;
    QString settingsKey_;
    QPersistentModelIndex editorIndex_;
    bool applyingWidths_ = false;
};

} // namespace desktop
