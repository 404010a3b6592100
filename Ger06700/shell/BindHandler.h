#pragma once
#include "resource/HandlerTable.h"

#include <functional>
#include <utility>

namespace ger06700 {

/// Offers a member handler of form under name, typed as the event it is bound to.
template <class Form, class... Args>
void BindHandler(plat::THandlerTable& table, const char* name, Form* form,
                 void (Form::*handler)(Args...)) {
    table.Add<std::function<void(Args...)>>(
        name, [form, handler](Args... args) { (form->*handler)(std::forward<Args>(args)...); });
}

} // namespace ger06700
