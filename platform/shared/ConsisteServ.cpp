// CheckResultServ of the shared unit Consiste: the one place where a server result is
// tested before the screen uses it.
#include "app/Application.h"
#include "core/Abort.h"
#include "shared/Consiste.h"

namespace plat {

nlohmann::json CheckResultServ(const nlohmann::json& result, bool /*flag*/, int /*number*/) {
    if (result.is_object() && result.contains("error")) {
        const nlohmann::json& error = result["error"];
        std::string message = "Resposta inválida do servidor de aplicação.";
        if (error.is_object() && error.contains("message") && error["message"].is_string() &&
            !error["message"].get<std::string>().empty())
            message = error["message"].get<std::string>();
        Application().Dialogs().ShowError(message);
        Abort();
    }
    if (result.is_object() && result.contains("result")) return result["result"];
    Application().Dialogs().ShowError("Resposta inválida do servidor de aplicação.");
    Abort();
}

} // namespace plat
