#include "ui/Form.h"

#include "app/Application.h"
#include "core/Abort.h"
#include "core/Value.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <functional>

namespace plat {

TForm::TForm(TComponent* owner, std::string name) : TControl(owner, std::move(name)) {}

TForm::~TForm() = default;

// Handlers run as copies throughout: a handler may detach or replace itself (or another)
// while it runs, which must not destroy the one running.

void TForm::DoCreate() {
    if (NotifyEvent handler = OnCreate) handler(*this);
}

void TForm::SetActiveControl(TWinControl* control) {
    if (active_ == control) return;
    active_ = control;
    Notify(Change::Focus);
}

void TForm::EnterControl(TWinControl& control) {
    active_ = &control;
    Notify(Change::Focus);
    if (TWinControl::NotifyEvent handler = control.OnEnter) handler(control);
}

void TForm::MoveFocus(TWinControl& target) {
    if (exiting_) {
        moveTarget_ = &target;
        return;
    }
    if (&target == active_) return;
    if (!target.CanFocus())
        throw EDatabaseError("Não é possível dar o foco a " + target.Name() +
                             ": o controle está oculto ou desabilitado.");
    TWinControl* old = active_;
    if (!old) {
        EnterControl(target);
        return;
    }
    exiting_ = true;
    moveTarget_ = &target;
    try {
        old->BeforeExit();
        if (TWinControl::NotifyEvent handler = old->OnExit) handler(*old);
    } catch (...) {
        exiting_ = false;
        TWinControl* redirect = moveTarget_;
        moveTarget_ = nullptr;
        if (!redirect || redirect == &target || redirect == old || !redirect->CanFocus()) throw;
        std::exception_ptr failure = std::current_exception();
        EnterControl(*redirect);
        std::rethrow_exception(failure);
    }
    exiting_ = false;
    TWinControl* final = moveTarget_;
    moveTarget_ = nullptr;
    if (!final || final == old) return;
    if (!final->CanFocus()) return;
    EnterControl(*final);
}

void TForm::RequestFocus(TWinControl& target) {
    if (exiting_) {
        moveTarget_ = &target;
        return;
    }
    if (!target.CanFocus()) return;
    SetActiveControl(&target);
}

void TForm::CheckFocus() {
    // A hidden form keeps its focused control for when it is shown again.
    if (!active_ || active_->CanFocus() || exiting_ || !Showing()) return;
    // The next control after the focused one, in creation order, wrapping round.
    std::vector<TWinControl*> controls;
    std::function<void(const TComponent&)> collect = [&](const TComponent& owner) {
        for (TComponent* c : owner.Components()) {
            if (auto* control = dynamic_cast<TWinControl*>(c)) controls.push_back(control);
            collect(*c);
        }
    };
    collect(*this);
    const auto at = std::find(controls.begin(), controls.end(), active_);
    std::rotate(controls.begin(), at == controls.end() ? controls.begin() : at, controls.end());
    TWinControl* next = nullptr;
    for (TWinControl* control : controls)
        if (control != active_ && control->CanFocus()) {
            next = control;
            break;
        }
    SetActiveControl(next);
}

TWinControl* TForm::KeyTarget() const {
    return active_ && active_->CanFocus() ? active_ : nullptr;
}

void TForm::KeyDownPhase(std::uint16_t& key, TShiftState shift) {
    if (TWinControl* control = KeyTarget()) control->BeginKey();
    if (KeyEvent handler = OnKeyDown; KeyPreview && handler) handler(*this, key, shift);
    if (key == 0) return;
    if (TWinControl* control = KeyTarget()) {
        if (TWinControl::KeyEvent handler = control->OnKeyDown) handler(*control, key, shift);
        if (key != 0) control->KeyDown(key, shift);
    }
}

namespace {

// A handler discards a character by emptying it or by setting it to the character 0.
bool Discarded(const std::string& ch) {
    return ch.empty() || ch[0] == '\0';
}

} // namespace

void TForm::CharPhase(std::string& ch) {
    if (KeyPressEvent handler = OnKeyPress; KeyPreview && handler) handler(*this, ch);
    if (Discarded(ch)) return;
    if (TWinControl* control = KeyTarget()) {
        if (TWinControl::KeyPressEvent handler = control->OnKeyPress) handler(*control, ch);
        if (!Discarded(ch)) control->KeyPress(ch);
    }
}

void TForm::PressKey(std::uint16_t key, TShiftState shift, std::string text) {
    std::uint16_t k = key;
    KeyDownPhase(k, shift);
    if (k == 0) return;
    // Of the keys without a printable character, Enter, Backspace and Escape make one.
    if (text.empty() && !shift.ctrl && !shift.alt) {
        if (key == VK_RETURN) text = "\r";
        if (key == VK_BACK) text = "\b";
        if (key == VK_ESCAPE) text = "\x1b";
    }
    if (!text.empty()) CharPhase(text);
}

void TForm::PressChar(std::string ch) {
    // A character on its own is a key of its own: nothing of the key before carries over.
    if (TWinControl* control = KeyTarget()) control->BeginKey();
    CharPhase(ch);
}

void TForm::TypeText(const std::string& text) {
    for (const std::string& ch : Utf8Characters(text)) {
        TShiftState state;
        const std::uint16_t key = KeyCodeOf(ch, state.shift);
        PressKey(key, state, ch);
    }
}

std::uint16_t KeyCodeOf(const std::string& ch, bool& shift) {
    shift = false;
    if (ch.size() != 1) return VK_PACKET;
    const unsigned char c = static_cast<unsigned char>(ch[0]);
    if (std::isupper(c)) {
        shift = true;
        return c;
    }
    if (std::islower(c)) return static_cast<std::uint16_t>(std::toupper(c));
    if (std::isdigit(c) || c == ' ') return c;
    if (c == ',') return VK_OEM_COMMA;
    if (c == '.') return VK_OEM_PERIOD;
    if (c == '\b') return VK_BACK;
    if (c == '\r') return VK_RETURN;
    if (c == 0x1b) return VK_ESCAPE;
    return VK_PACKET;
}

void TForm::SetWindowState(TWindowState state) {
    if (windowState_ == state) return;
    windowState_ = state;
    Notify(Change::WindowState);
}

void TForm::Show() {
    SetVisible(true);
    if (!shown_) {
        shown_ = true;
        if (NotifyEvent handler = OnShow) handler(*this);
    }
    Notify(Change::Visible);
    // Showing brings the window to the front; a window that was not active becomes active.
    if (Application().ActiveForm() != this) {
        Application().SetActiveForm(this);
        Activate();
    }
}

void TForm::Close() {
    if (closed_) return;
    TCloseAction action = TCloseAction::Hide;
    if (CloseEvent handler = OnClose) handler(*this, action);
    switch (action) {
    case TCloseAction::None:
        return;
    case TCloseAction::Minimize:
        SetWindowState(TWindowState::Minimized);
        return;
    case TCloseAction::Hide:
        SetVisible(false);
        return;
    case TCloseAction::Free:
        closed_ = true;
        SetVisible(false);
        Application().ReleaseForm(this);
        return;
    }
}

void TForm::Activate() {
    if (closed_) return;
    if (NotifyEvent handler = OnActivate) handler(*this);
}

void TForm::Repaint() {
    Notify(Change::Repaint);
}

std::optional<std::string> TForm::InspectValue(const std::string&) const {
    return std::nullopt;
}

} // namespace plat
