#pragma once
#include <QWidget>

class QMenu;
class QMenuBar;

namespace plat {
class TControl;
class TDBNavigator;
class TDBText;
class TLabel;
class TMenuItem;
class TSpeedButton;
} // namespace plat

namespace desktop {

class ActionSink;
class Observers;

/// Widgets for the simple controls of a platform form, each following its control's notices
/// (caption, enabled, visible, data) and sending clicks to the model.
namespace ControlWidgets {

/// Makes widget follow control's visible and enabled state.
void FollowState(QWidget& widget, plat::TControl& control, Observers& observers);
/// A command button.
QWidget* Button(plat::TSpeedButton& button, ActionSink& sink, Observers& observers);
/// A fixed text.
QWidget* Label(plat::TLabel& label, Observers& observers);
/// A label showing a field of the current record.
QWidget* DataText(plat::TDBText& text, Observers& observers);
/// First, prior, next and last buttons over a dataset.
QWidget* Navigator(plat::TDBNavigator& navigator, ActionSink& sink, Observers& observers);
/// The menu entry under a Qt menu: a submenu when it has entries of its own, else an action.
void MenuEntry(plat::TMenuItem& item, QMenu& menu, ActionSink& sink, Observers& observers);
/// A main menu (an entry without parent) as the menus of a menu bar.
void MenuBar(plat::TMenuItem& root, QMenuBar& bar, ActionSink& sink, Observers& observers);

} // namespace ControlWidgets

} // namespace desktop
