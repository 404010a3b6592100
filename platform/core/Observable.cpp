#include "core/Observable.h"

#include <iostream>

namespace plat {

namespace {

struct ObserverErrors {
    int scopes = 0;
    std::exception_ptr pending;
    std::function<void(std::exception_ptr)> reporter;
};

ObserverErrors& Errors() {
    static ObserverErrors errors;
    return errors;
}

void Report() {
    ObserverErrors& errors = Errors();
    if (!errors.pending) return;
    std::exception_ptr error = std::move(errors.pending);
    errors.pending = nullptr;
    try {
        if (errors.reporter) {
            errors.reporter(error);
            return;
        }
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        std::cerr << "observer failed: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "observer failed\n";
    }
}

} // namespace

int TObservable::Subscribe(Observer observer) {
    if (!observer) return Observe(nullptr);
    return Observe([observer = std::move(observer)](TObservable& sender, const TNotice& notice) {
        observer(sender, notice.what);
    });
}

int TObservable::Observe(NoticeObserver observer) {
    observers_[++lastTicket_] = std::move(observer);
    return lastTicket_;
}

void TObservable::Notify(const TNotice& notice) {
    // Copy first: an observer may subscribe or unsubscribe while being told.
    auto observers = observers_;
    {
        TNoticeScope scope;
        for (auto& [ticket, observer] : observers) {
            if (!observer) continue;
            try {
                observer(*this, notice);
            } catch (...) {
                if (!Errors().pending) Errors().pending = std::current_exception();
            }
        }
    }
}

TNoticeScope::TNoticeScope() {
    ++Errors().scopes;
}

TNoticeScope::~TNoticeScope() {
    if (--Errors().scopes == 0) Report();
}

void SetObserverErrorReporter(std::function<void(std::exception_ptr)> reporter) {
    Errors().reporter = std::move(reporter);
}

} // namespace plat
