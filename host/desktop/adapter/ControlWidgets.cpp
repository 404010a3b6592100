#include "adapter/ControlWidgets.h"

#include "adapter/ActionSink.h"
#include "adapter/Observers.h"
#include "ui/Buttons.h"
#include "ui/DBControls.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QToolButton>

namespace desktop::ControlWidgets {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// The entries a menu entry holds, in creation order.
std::vector<plat::TMenuItem*> Entries(plat::TMenuItem& item) {
    std::vector<plat::TMenuItem*> entries;
    plat::TComponent* owner = item.Owner();
    if (!owner) return entries;
    for (plat::TComponent* component : owner->Components())
        if (auto* entry = dynamic_cast<plat::TMenuItem*>(component);
            entry && entry->Parent() == &item)
            entries.push_back(entry);
    return entries;
}

void FollowAction(QAction& action, plat::TMenuItem& item, Observers& observers) {
    auto update = [&item, guard = QPointer<QAction>(&action)] {
        if (!guard) return;
        guard->setText(Text(item.Caption()));
        guard->setEnabled(item.Enabled());
        guard->setVisible(item.Visible());
    };
    update();
    observers.Watch(item, [update](plat::TObservable&, plat::Change) { update(); });
}

} // namespace

void FollowState(QWidget& widget, plat::TControl& control, Observers& observers) {
    auto update = [&control, guard = QPointer<QWidget>(&widget)](plat::Change what) {
        if (!guard) return;
        if (what == plat::Change::Visible) guard->setVisible(control.Visible());
        if (what == plat::Change::Enabled) guard->setEnabled(control.Enabled());
    };
    widget.setObjectName(Text(control.Name()));
    widget.setVisible(control.Visible());
    widget.setEnabled(control.Enabled());
    observers.Watch(control, [update](plat::TObservable&, plat::Change what) { update(what); });
}

QWidget* Button(plat::TSpeedButton& button, ActionSink& sink, Observers& observers) {
    auto* widget = new QToolButton;
    widget->setFocusPolicy(Qt::NoFocus);
    widget->setToolButtonStyle(Qt::ToolButtonTextOnly);
    widget->setText(Text(button.Caption()));
    widget->setToolTip(Text(button.Hint));
    FollowState(*widget, button, observers);
    observers.Watch(button, [&button, guard = QPointer<QToolButton>(widget)](plat::TObservable&,
                                                                             plat::Change what) {
        if (guard && what == plat::Change::Caption) guard->setText(Text(button.Caption()));
    });
    QObject::connect(widget, &QToolButton::clicked, widget,
                     [&sink, &button] { sink.Act([&button] { button.Click(); }); });
    return widget;
}

QWidget* Label(plat::TLabel& label, Observers& observers) {
    auto* widget = new QLabel(Text(label.Caption()));
    FollowState(*widget, label, observers);
    observers.Watch(
        label, [&label, guard = QPointer<QLabel>(widget)](plat::TObservable&, plat::Change what) {
            if (guard && what == plat::Change::Caption) guard->setText(Text(label.Caption()));
        });
    return widget;
}

QWidget* DataText(plat::TDBText& text, Observers& observers) {
    auto* widget = new QLabel(Text(text.Text()));
    widget->setMinimumWidth(200);
    QFont bold = widget->font();
    bold.setBold(true);
    widget->setFont(bold);
    FollowState(*widget, text, observers);
    observers.Watch(
        text, [&text, guard = QPointer<QLabel>(widget)](plat::TObservable&, plat::Change what) {
            if (guard && what == plat::Change::Data) guard->setText(Text(text.Text()));
        });
    return widget;
}

QWidget* Navigator(plat::TDBNavigator& navigator, ActionSink& sink, Observers& observers) {
    auto* widget = new QWidget;
    auto* row = new QHBoxLayout(widget);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    const std::pair<plat::TDBNavigator::Button, const char*> buttons[] = {
        {plat::TDBNavigator::Button::First, "|◀"},
        {plat::TDBNavigator::Button::Prior, "◀"},
        {plat::TDBNavigator::Button::Next, "▶"},
        {plat::TDBNavigator::Button::Last, "▶|"}};
    const char* names[] = {"First", "Prior", "Next", "Last"};
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        auto* button = new QToolButton(widget);
        button->setObjectName(QString::fromLatin1(names[i]));
        button->setFocusPolicy(Qt::NoFocus);
        button->setText(QString::fromUtf8(buttons[i].second));
        row->addWidget(button);
        QObject::connect(button, &QToolButton::clicked, button,
                         [&sink, &navigator, which = buttons[i].first] {
                             sink.Act([&navigator, which] { navigator.Click(which); });
                         });
    }
    FollowState(*widget, navigator, observers);
    return widget;
}

void MenuEntry(plat::TMenuItem& item, QMenu& menu, ActionSink& sink, Observers& observers) {
    const auto entries = Entries(item);
    if (!entries.empty()) {
        QMenu* submenu = menu.addMenu(Text(item.Caption()));
        for (plat::TMenuItem* entry : entries)
            MenuEntry(*entry, *submenu, sink, observers);
        FollowAction(*submenu->menuAction(), item, observers);
        return;
    }
    QAction* action = menu.addAction(Text(item.Caption()));
    action->setObjectName(Text(item.Name()));
    FollowAction(*action, item, observers);
    QObject::connect(action, &QAction::triggered, action,
                     [&sink, &item] { sink.Act([&item] { item.Click(); }); });
}

void MenuBar(plat::TMenuItem& root, QMenuBar& bar, ActionSink& sink, Observers& observers) {
    for (plat::TMenuItem* entry : Entries(root)) {
        QMenu* menu = bar.addMenu(Text(entry->Caption()));
        menu->setObjectName(Text(entry->Name()));
        FollowAction(*menu->menuAction(), *entry, observers);
        for (plat::TMenuItem* sub : Entries(*entry))
            MenuEntry(*sub, *menu, sink, observers);
    }
}

} // namespace desktop::ControlWidgets
