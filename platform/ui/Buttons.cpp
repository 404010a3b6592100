#include "ui/Buttons.h"

namespace plat {

// The handler runs as a copy: it may detach or replace itself while it runs.

void TSpeedButton::Click() {
    if (NotifyEvent handler = OnClick; Enabled() && handler) handler(*this);
}

void TMenuItem::Click() {
    if (NotifyEvent handler = OnClick; Enabled() && handler) handler(*this);
}

} // namespace plat
