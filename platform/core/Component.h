#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

/// Base of every named object of a form; an owner destroys what it owns, newest first.
class TComponent {
public:
    explicit TComponent(TComponent* owner = nullptr, std::string name = {});
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    virtual ~TComponent();

    /// Creates a component owned by this one.
    template <class T, class... Args> T& Create(std::string name, Args&&... args) {
        auto owned = std::make_unique<T>(this, std::move(name), std::forward<Args>(args)...);
        T& ref = *owned;
        owned_.push_back(std::move(owned));
        return ref;
    }

    const std::string& Name() const { return name_; }
    TComponent* Owner() const { return owner_; }
    /// The integer every component carries for its owner's use.
    int Tag = 0;

    /// Components owned by this one, in creation order.
    std::vector<TComponent*> Components() const;
    /// The owned component called name (letter case ignored), searched depth-first; or null.
    TComponent* FindComponent(std::string_view name) const;
    template <class T> T* Find(std::string_view name) const {
        return dynamic_cast<T*>(FindComponent(name));
    }

private:
    TComponent* owner_;
    std::string name_;
    std::vector<std::unique_ptr<TComponent>> owned_;
};

} // namespace plat
