#include "core/Abort.h"

namespace plat {

void Abort() {
    throw EAbort();
}

} // namespace plat
