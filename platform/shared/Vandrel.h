#pragma once
// The host's shared unit Vandrel: where the application server listens, and the notice to
// the local cache after a change was stored on the server.
#include "shared/LocalCache.h"

#include <nlohmann/json.hpp>
#include <string>

namespace plat {

/// Host of the application server, from the host's configuration at every call.
std::string WebURL();
/// Port of the application server, from the host's configuration at every call.
int WebPort();
/// Tells the local cache that the tables named in the array changed on the server; throws
/// std::invalid_argument, recording nothing, when tables is not an array of texts.
void AtualizaLocalCache(const nlohmann::json& tables);

} // namespace plat
