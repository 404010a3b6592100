#include "core/Component.h"

#include <algorithm>

namespace plat {

namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
           });
}

} // namespace

TComponent::TComponent(TComponent* owner, std::string name)
    : owner_(owner), name_(std::move(name)) {}

TComponent::~TComponent() {
    // Newest first, so a component never outlives one created before it that it may use.
    // Each one leaves the list before it dies, so its destructor sees a consistent owner.
    while (!owned_.empty()) {
        std::unique_ptr<TComponent> last = std::move(owned_.back());
        owned_.pop_back();
        last.reset();
    }
}

std::vector<TComponent*> TComponent::Components() const {
    std::vector<TComponent*> result;
    result.reserve(owned_.size());
    for (const auto& owned : owned_)
        result.push_back(owned.get());
    return result;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (const auto& owned : owned_) {
        if (SameNameIgnoringCase(owned->Name(), name)) return owned.get();
        if (TComponent* found = owned->FindComponent(name)) return found;
    }
    return nullptr;
}

} // namespace plat
