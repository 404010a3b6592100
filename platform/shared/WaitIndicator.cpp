#include "shared/WaitIndicator.h"

namespace plat {

void TWaitIndicator::Start(TComponent* form, int kind) {
    active_ = true;
    kind_ = kind;
    form_ = form;
    ++activations_;
    Notify(Change::Wait);
}

void TWaitIndicator::Stop() {
    if (!active_) return;
    active_ = false;
    form_ = nullptr;
    Notify(Change::Wait);
}

TWaitIndicator& WaitIndicator() {
    static TWaitIndicator indicator;
    return indicator;
}

} // namespace plat
