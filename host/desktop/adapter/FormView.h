#pragma once
#include "adapter/ActionSink.h"
#include "adapter/Observers.h"

#include <QString>
#include <QWidget>
#include <map>
#include <vector>

class QBoxLayout;
class QMenuBar;

namespace plat {
class TComponent;
class TControl;
class TForm;
class TWinControl;
} // namespace plat

namespace desktop {

class GridView;

/// Renders one platform form, whatever screen it belongs to: its menu, command buttons,
/// labels, navigator, grids, page controls and notebooks, laid out by their parents and
/// alignment. It follows the model's notices and delivers every user action to the model
/// through the application's dispatcher; Qt's focus follows the model's active control.
class FormView : public QWidget, public ActionSink {
    Q_OBJECT
public:
    /// settingsGroup: where column widths are kept between runs.
    FormView(plat::TForm& form, QString settingsGroup, QWidget* parent = nullptr);
    ~FormView() override;

    plat::TForm* Form() const { return form_; }
    /// The form was closed for good or destroyed: forget it and show nothing more of it.
    void Detach();
    bool Detached() const { return form_ == nullptr; }

    /// The widget showing a control; null when it has none.
    QWidget* WidgetOf(const plat::TControl& control) const;
    /// The grids on show, in the form's order.
    const std::vector<GridView*>& Grids() const { return grids_; }
    /// Gives Qt's focus to the widget of the model's active control.
    void SyncFocus();

    bool Act(const std::function<void()>& action) override;
    bool SyncingFocus() const override { return syncingFocus_; }

signals:
    /// The form's caption, visibility or window state changed.
    void FormChanged();

private:
    QWidget* Build(plat::TControl& control);
    void BuildChildren(plat::TControl& container, QWidget& widget);
    std::vector<plat::TControl*> Children(const plat::TControl& parent) const;
    void ObserveForm();

    plat::TForm* form_;
    QString settingsGroup_;
    std::vector<plat::TComponent*> components_;
    std::map<const plat::TControl*, QWidget*> widgets_;
    std::vector<GridView*> grids_;
    QMenuBar* menuBar_ = nullptr;
    bool syncingFocus_ = false;
    Observers observers_;
};

} // namespace desktop
