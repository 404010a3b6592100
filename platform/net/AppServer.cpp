#include "net/AppServer.h"

#include "net/NetConnection.h"

namespace plat {

nlohmann::json TAppServer::Call(const std::string& method, const nlohmann::json& args) const {
    return connection_->CallRemote(method, args);
}

} // namespace plat
