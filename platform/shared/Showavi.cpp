#include "shared/Showavi.h"

namespace plat {

void ActiveShowAvi(TComponent* form, int kind) {
    WaitIndicator().Start(form, kind);
}

void DeactiveShowAvi() {
    WaitIndicator().Stop();
}

} // namespace plat
