#pragma once
#include "ui/Control.h"

#include <functional>
#include <optional>
#include <string>

namespace plat {

enum class TWindowState { Normal, Minimized, Maximized };
enum class TCloseAction { None, Hide, Free, Minimize };
enum class TFormStyle { Normal, MDIChild, MDIForm };

/// A form: the window of a screen, owner of its components, keeper of the focus.
///
/// Focus moves. A move by the user or by code (SetFocus) writes the pending text of the old
/// control, runs its OnExit, moves, then runs the new control's OnEnter. An exception in the
/// old control's exit cancels the move and the focus stays. A focus request made while an
/// OnExit runs (SetFocus or a field's focus request) does not move at once: it redirects the
/// move in progress, and the control that finally holds the focus gets its OnEnter once the
/// OnExit has returned; when that is the control being left, the focus simply stays. If the
/// OnExit then fails, a redirect to a third control is still honoured, so that the user lands
/// on what the failed check pointed at, and that control gets its OnEnter as for any move
/// (the old control had its OnExit); a redirect to the control being left, or none, keeps
/// the focus where it was. A field's focus request made at any other time moves the focus
/// quietly, with no OnExit or OnEnter.
///
/// Keys reach only a control that can take the focus. When the focused control is disabled
/// or hidden (itself, a parent, or its notebook page turned), the focus moves on quietly to
/// the next control in creation order that can take it, or to none.
class TForm : public TControl {
public:
    using NotifyEvent = std::function<void(TForm& sender)>;
    using CloseEvent = std::function<void(TForm& sender, TCloseAction& action)>;
    using KeyEvent = std::function<void(TForm& sender, std::uint16_t& key, TShiftState shift)>;
    using KeyPressEvent = std::function<void(TForm& sender, std::string& key)>;

    TForm(TComponent* owner, std::string name);
    ~TForm() override;

    /// Runs the creation handler; called once the form's reference is set.
    virtual void DoCreate();

    TWinControl* ActiveControl() const { return active_; }
    /// Sets the active control without running any event (while the form is being built).
    void SetActiveControl(TWinControl* control);
    /// Moves the focus with exit and enter events (see the class comment).
    void MoveFocus(TWinControl& target);
    /// Moves the focus without events, or redirects a move in progress.
    void RequestFocus(TWinControl& target);

    /// A key pressed by the user with the character it types, the one entry for a key: the
    /// key-down phase (form's OnKeyDown when KeyPreview, then the focused control's, then the
    /// control's own handling), then, unless the key was discarded (set to 0), the character
    /// phase (form's OnKeyPress when KeyPreview, then the control's, then its own handling)
    /// unless a handler discarded the character (empty or the character 0). Without text,
    /// Enter, Backspace and Escape make theirs ("\r", "\b", "\x1b") unless Ctrl or Alt is held.
    void PressKey(std::uint16_t key, TShiftState shift, std::string text = {});
    /// A character with no key of its own (an input method's): the character phase only.
    void PressChar(std::string ch);
    /// Each character of text as PressKey with the key that makes it.
    void TypeText(const std::string& text);
    /// Moves the focus on when the focused control can no longer take it; controls call it
    /// when they are disabled or hidden.
    void CheckFocus();

    bool KeyPreview = true;
    TFormStyle FormStyle = TFormStyle::Normal;
    int HelpContext = 0;
    std::string HelpFile;

    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);
    bool Shown() const { return shown_; }
    /// Shows the form and brings it to the front, activating it when it was not active.
    void Show();
    /// The user or code closes the form: OnClose decides what happens (default: hide).
    void Close();
    /// The window was activated (the user came back to it): runs OnActivate.
    void Activate();
    /// Asks the front-end to paint the form again.
    void Repaint();
    bool Closed() const { return closed_; }
    /// Values of the screen's own state that diagnostic tools may show, by name.
    virtual std::optional<std::string> InspectValue(const std::string& name) const;

    NotifyEvent OnCreate, OnActivate, OnShow;
    CloseEvent OnClose;
    KeyEvent OnKeyDown;
    KeyPressEvent OnKeyPress;

private:
    void EnterControl(TWinControl& control);
    void KeyDownPhase(std::uint16_t& key, TShiftState shift);
    void CharPhase(std::string& ch);
    /// The focused control, when it can take keys.
    TWinControl* KeyTarget() const;
    TWinControl* active_ = nullptr;
    bool exiting_ = false;
    TWinControl* moveTarget_ = nullptr;
    TWindowState windowState_ = TWindowState::Normal;
    bool shown_ = false;
    bool closed_ = false;
};

/// The key code that types ch, and whether Shift makes it.
std::uint16_t KeyCodeOf(const std::string& ch, bool& shift);

} // namespace plat
