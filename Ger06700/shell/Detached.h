#pragma once
#include <utility>

namespace ger06700 {

/// Takes a handler off its event while the object lives, and puts it back however the scope
/// ends (a check that fails included).
template <class Handler> class Detached {
public:
    explicit Detached(Handler& event) : event_(event), handler_(std::move(event)) {
        event_ = nullptr;
    }
    ~Detached() { event_ = std::move(handler_); }
    Detached(const Detached&) = delete;
    Detached& operator=(const Detached&) = delete;

private:
    Handler& event_;
    Handler handler_;
};

} // namespace ger06700
