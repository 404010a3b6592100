#pragma once
#include "shared/DatabaseConnection.h"

#include <string>

namespace plat {

/// A named parameter of a query; its value is bound, never spliced into the text.
class TQueryParam {
public:
    explicit TQueryParam(std::string name) : name_(std::move(name)) {}

    /// The parameter's name as the text writes it after ":" (letter case aside).
    const std::string& Name() const { return name_; }
    /// Gives the parameter a text value.
    void SetAsString(const std::string& value) {
        value_ = value;
        assigned_ = true;
    }
    /// Gives the parameter the value NULL.
    void Clear() {
        value_.reset();
        assigned_ = true;
    }
    /// The value as text; NULL reads as empty text.
    std::string AsString() const { return value_.value_or(std::string()); }
    /// True when the value is NULL.
    bool IsNull() const { return !value_; }
    /// True once a value (or NULL) was given; a query does not open with an unset parameter.
    bool Assigned() const { return assigned_; }
    /// The value to bind.
    const TDbText& Value() const { return value_; }

private:
    std::string name_;
    TDbText value_;
    bool assigned_ = false;
};

} // namespace plat
