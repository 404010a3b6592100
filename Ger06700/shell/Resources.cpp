#include "shell/Resources.h"

#include "core/Abort.h"

namespace ger06700 {

const std::string& ResourceFile(const std::string& name) {
    auto it = ResourceFiles().find(name);
    if (it == ResourceFiles().end())
        throw plat::EDatabaseError("O módulo não traz o arquivo de recurso '" + name + "'.");
    return it->second;
}

} // namespace ger06700
