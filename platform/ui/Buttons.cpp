#include "ui/Buttons.h"

namespace plat {

void TSpeedButton::Click() {
    if (Enabled() && OnClick) OnClick(*this);
}

void TMenuItem::Click() {
    if (Enabled() && OnClick) OnClick(*this);
}

} // namespace plat
