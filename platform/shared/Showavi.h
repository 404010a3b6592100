#pragma once
// The host's shared unit Showavi: the wait animation around slow calls.
#include "shared/WaitIndicator.h"

namespace plat {

/// Starts the wait animation of kind over form.
void ActiveShowAvi(TComponent* form, int kind);
/// Stops the wait animation; does nothing when none runs.
void DeactiveShowAvi();

} // namespace plat
