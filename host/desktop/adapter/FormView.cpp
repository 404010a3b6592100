#include "adapter/FormView.h"

#include "adapter/ControlWidgets.h"
#include "adapter/GridView.h"
#include "app/Application.h"
#include "ui/Buttons.h"
#include "ui/DBControls.h"
#include "ui/DBGrid.h"
#include "ui/Form.h"

#include <QFrame>
#include <QMenuBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace desktop {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

void Collect(const plat::TComponent& owner, std::vector<plat::TComponent*>& into) {
    for (plat::TComponent* component : owner.Components()) {
        into.push_back(component);
        Collect(*component, into);
    }
}

QBoxLayout* Tight(QBoxLayout* layout) {
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    return layout;
}

bool Docked(const plat::TControl& control) {
    return control.Align == "top" || control.Align == "bottom" || control.Align == "client";
}

} // namespace

FormView::FormView(plat::TForm& form, QString settingsGroup, QWidget* parent)
    : QWidget(parent), form_(&form), settingsGroup_(std::move(settingsGroup)) {
    setObjectName(Text(form.Name()));
    Collect(form, components_);
    auto* layout = Tight(new QVBoxLayout(this));

    // Main menus: menu entries without a parent that hold entries.
    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);
    for (plat::TComponent* component : components_)
        if (auto* item = dynamic_cast<plat::TMenuItem*>(component); item && !item->Parent())
            ControlWidgets::MenuBar(*item, *menuBar_, *this, observers_);
    if (menuBar_->actions().isEmpty()) menuBar_->hide();
    layout->setMenuBar(menuBar_);

    auto* body = new QWidget(this);
    BuildChildren(form, *body);
    layout->addWidget(body, 1);
    ObserveForm();
    SyncFocus();
}

FormView::~FormView() {
    Detach();
}

void FormView::Detach() {
    if (!form_) return;
    observers_.Silence();
    for (GridView* grid : grids_)
        grid->Detach();
    form_ = nullptr;
}

QWidget* FormView::WidgetOf(const plat::TControl& control) const {
    const auto it = widgets_.find(&control);
    return it == widgets_.end() ? nullptr : it->second;
}

std::vector<plat::TControl*> FormView::Children(const plat::TControl& parent) const {
    std::vector<plat::TControl*> children;
    for (plat::TComponent* component : components_)
        if (auto* control = dynamic_cast<plat::TControl*>(component);
            control && control->Parent() == &parent && !dynamic_cast<plat::TMenuItem*>(control))
            children.push_back(control);
    return children;
}

void FormView::BuildChildren(plat::TControl& container, QWidget& widget) {
    const auto children = Children(container);
    const bool docked = std::any_of(children.begin(), children.end(),
                                    [](const plat::TControl* c) { return Docked(*c); });
    if (!docked) {
        // Free-standing controls side by side, as on a tool bar.
        auto* row = Tight(new QHBoxLayout(&widget));
        for (plat::TControl* child : children)
            if (QWidget* built = Build(*child)) row->addWidget(built);
        row->addStretch(1);
        return;
    }
    // Docked controls from the top down, the client one taking the space left; a splitter
    // between docked controls lets the user share the space between what is above and below.
    auto* column = Tight(new QVBoxLayout(&widget));
    std::vector<plat::TControl*> ordered;
    for (const char* align : {"none", "left", "right", "top", "client", "bottom"})
        for (plat::TControl* child : children)
            if (child->Align == align) ordered.push_back(child);
    QSplitter* splitter = nullptr;
    QWidget* below = nullptr;
    for (plat::TControl* child : ordered) {
        if (dynamic_cast<plat::TSplitter*>(child)) {
            splitter = new QSplitter(Qt::Vertical, &widget);
            splitter->setObjectName(Text(child->Name()));
            splitter->setChildrenCollapsible(false);
            // What was above goes into the splitter's first pane.
            auto* above = new QWidget(splitter);
            auto* aboveLayout = Tight(new QVBoxLayout(above));
            while (column->count() > 0) {
                QLayoutItem* item = column->takeAt(0);
                if (item->widget()) aboveLayout->addWidget(item->widget(), 1);
                delete item;
            }
            below = new QWidget(splitter);
            Tight(new QVBoxLayout(below));
            column->addWidget(splitter, 1);
            continue;
        }
        QWidget* built = Build(*child);
        if (!built) continue;
        const int stretch = child->Align == "client" ? 1 : 0;
        if (below)
            static_cast<QBoxLayout*>(below->layout())->addWidget(built, stretch);
        else
            column->addWidget(
                built, child->Align == "top" && dynamic_cast<plat::TDBGrid*>(child) ? 1 : stretch);
    }
}

QWidget* FormView::Build(plat::TControl& control) {
    QWidget* widget = nullptr;
    if (auto* grid = dynamic_cast<plat::TDBGrid*>(&control)) {
        auto* view =
            new GridView(*grid, *this, settingsGroup_ + "/" + Text(grid->Name()) + "/columnWidths");
        grids_.push_back(view);
        ControlWidgets::FollowState(*view, control, observers_);
        widget = view;
    } else if (auto* button = dynamic_cast<plat::TSpeedButton*>(&control)) {
        widget = ControlWidgets::Button(*button, *this, observers_);
    } else if (auto* text = dynamic_cast<plat::TDBText*>(&control)) {
        widget = ControlWidgets::DataText(*text, observers_);
    } else if (auto* label = dynamic_cast<plat::TLabel*>(&control)) {
        widget = ControlWidgets::Label(*label, observers_);
    } else if (auto* navigator = dynamic_cast<plat::TDBNavigator*>(&control)) {
        widget = ControlWidgets::Navigator(*navigator, *this, observers_);
    } else if (auto* notebook = dynamic_cast<plat::TNotebook*>(&control)) {
        auto* stack = new QStackedWidget;
        for (int i = 0; i < notebook->PageCount(); ++i) {
            auto* page = new QWidget(stack);
            page->setObjectName(Text(notebook->Page(i).Name()));
            widgets_[&notebook->Page(i)] = page;
            BuildChildren(notebook->Page(i), *page);
            stack->addWidget(page);
        }
        stack->setCurrentIndex(notebook->PageIndex());
        ControlWidgets::FollowState(*stack, control, observers_);
        observers_.Watch(*notebook, [notebook, stack](plat::TObservable&, plat::Change what) {
            if (what == plat::Change::Page) stack->setCurrentIndex(notebook->PageIndex());
        });
        widget = stack;
    } else if (dynamic_cast<plat::TPageControl*>(&control)) {
        auto* tabs = new QTabWidget;
        for (plat::TControl* sheet : Children(control)) {
            auto* page = new QWidget(tabs);
            page->setObjectName(Text(sheet->Name()));
            widgets_[sheet] = page;
            BuildChildren(*sheet, *page);
            const int index = tabs->addTab(page, Text(sheet->Caption()));
            observers_.Watch(*sheet, [sheet, tabs, index](plat::TObservable&, plat::Change what) {
                if (what == plat::Change::Caption) tabs->setTabText(index, Text(sheet->Caption()));
            });
        }
        ControlWidgets::FollowState(*tabs, control, observers_);
        widget = tabs;
    } else if (auto* panel = dynamic_cast<plat::TPanel*>(&control)) {
        auto* frame = new QFrame;
        frame->setFrameShape(panel->BevelOuter == "none" ? QFrame::NoFrame : QFrame::StyledPanel);
        frame->setFrameShadow(panel->BevelOuter == "lowered" ? QFrame::Sunken : QFrame::Raised);
        const auto children = Children(control);
        if (children.empty() && control.Height > 0) frame->setFixedHeight(control.Height);
        BuildChildren(control, *frame);
        ControlWidgets::FollowState(*frame, control, observers_);
        widget = frame;
    } else if (!dynamic_cast<plat::TForm*>(&control)) {
        // Any other container (scroll box, tab sheet...) holds its children and nothing else.
        auto* box = new QWidget;
        BuildChildren(control, *box);
        ControlWidgets::FollowState(*box, control, observers_);
        widget = box;
    }
    if (widget) widgets_[&control] = widget;
    return widget;
}

void FormView::ObserveForm() {
    observers_.Watch(*form_, [this](plat::TObservable&, plat::Change what) {
        switch (what) {
        case plat::Change::Focus:
            SyncFocus();
            for (GridView* grid : grids_)
                grid->FollowModel();
            break;
        case plat::Change::Repaint:
            repaint();
            break;
        case plat::Change::Caption:
        case plat::Change::Visible:
        case plat::Change::WindowState:
            emit FormChanged();
            break;
        default:
            break;
        }
    });
}

void FormView::SyncFocus() {
    if (!form_) return;
    plat::TWinControl* active = form_->ActiveControl();
    QWidget* widget = active ? WidgetOf(*active) : nullptr;
    if (!widget || widget->hasFocus() || !widget->isVisibleTo(this)) return;
    syncingFocus_ = true;
    widget->setFocus(Qt::OtherFocusReason);
    syncingFocus_ = false;
}

bool FormView::Act(const std::function<void()>& action) {
    if (!form_) return false;
    const bool done = plat::Application().Dispatch(action);
    // The action may have closed the form; whoever owns this view learns it from the forms'
    // notice and detaches it.
    if (form_ && !form_->Closed()) SyncFocus();
    return done;
}

} // namespace desktop
