#include "adapter/Observers.h"

namespace desktop {

Observers::Observers() : alive_(std::make_shared<bool>(true)) {}

Observers::~Observers() {
    Silence();
    for (auto [object, ticket] : lasting_)
        object->Unsubscribe(ticket);
}

void Observers::Watch(plat::TObservable& object, plat::Observer observer) {
    object.Subscribe([alive = alive_, observer = std::move(observer)](plat::TObservable& sender,
                                                                      plat::Change what) {
        if (*alive) observer(sender, what);
    });
}

void Observers::WatchNotices(plat::TObservable& object, plat::NoticeObserver observer) {
    object.Observe([alive = alive_, observer = std::move(observer)](plat::TObservable& sender,
                                                                    const plat::TNotice& notice) {
        if (*alive) observer(sender, notice);
    });
}

void Observers::WatchLasting(plat::TObservable& object, plat::Observer observer) {
    lasting_.emplace_back(&object, object.Subscribe(std::move(observer)));
}

void Observers::Silence() {
    *alive_ = false;
}

} // namespace desktop
