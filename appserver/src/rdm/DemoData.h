#pragma once
#include "storage/Storage.h"

namespace ger {

/// A handful of realistic payment terms with their schedules, for trying the screen out.
class DemoData {
public:
    /// Adds the demo terms when both tables are empty; returns whether it added them.
    static bool InsertIfEmpty(Storage& storage);
};

} // namespace ger
