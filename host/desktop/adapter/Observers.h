#pragma once
#include "core/Observable.h"

#include <memory>
#include <utility>
#include <vector>

namespace desktop {

/// The subscriptions a view holds on platform objects. A form's objects may be destroyed
/// before the view learns of it, so the view never unsubscribes from them: it switches its
/// observers off, and they stay harmless until their objects go. Objects that live as long as
/// the process (the application, the wait indicator) are unsubscribed for real.
class Observers {
public:
    Observers();
    ~Observers();
    Observers(const Observers&) = delete;
    Observers& operator=(const Observers&) = delete;

    /// Observes an object of a form: switched off by Silence or destruction.
    void Watch(plat::TObservable& object, plat::Observer observer);
    /// Observes an object's whole notices, as Watch.
    void WatchNotices(plat::TObservable& object, plat::NoticeObserver observer);
    /// Observes an object that outlives every view: unsubscribed on destruction.
    void WatchLasting(plat::TObservable& object, plat::Observer observer);
    /// Switches every observer off; the objects may be gone already.
    void Silence();
    bool Silenced() const { return !*alive_; }

private:
    std::shared_ptr<bool> alive_;
    std::vector<std::pair<plat::TObservable*, int>> lasting_;
};

} // namespace desktop
