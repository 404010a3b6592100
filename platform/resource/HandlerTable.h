#pragma once
#include "core/Abort.h"

#include <any>
#include <map>
#include <string>

namespace plat {

/// The event handlers a form offers to its resource description, by name; each is stored
/// with the exact handler type of the event it may be bound to.
class THandlerTable {
public:
    /// Offers handler under name.
    template <class Handler> void Add(const std::string& name, Handler handler) {
        handlers_[name] = std::move(handler);
    }
    /// The handler called name, of the type the event needs; throws when it is missing or
    /// was offered for another kind of event.
    template <class Handler> Handler Get(const std::string& name, const std::string& event) const {
        auto it = handlers_.find(name);
        if (it == handlers_.end())
            throw EDatabaseError("Recurso do formulário: manipulador '" + name +
                                 "' inexistente para o evento " + event + ".");
        if (const Handler* h = std::any_cast<Handler>(&it->second)) return *h;
        throw EDatabaseError("Recurso do formulário: o manipulador '" + name +
                             "' não serve para o evento " + event + ".");
    }
    bool Has(const std::string& name) const { return handlers_.count(name) != 0; }

private:
    std::map<std::string, std::any> handlers_;
};

} // namespace plat
