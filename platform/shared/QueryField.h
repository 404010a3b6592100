#pragma once
#include "shared/DatabaseConnection.h"

#include <string>

namespace plat {

class TADOIBQuery;

/// A result column of an open query, reading the query's current row.
class TQueryField {
public:
    TQueryField(std::string name, TDbText value)
        : name_(std::move(name)), value_(std::move(value)) {}

    /// The column name as the database reports it.
    const std::string& FieldName() const { return name_; }
    /// The value as text; NULL reads as empty text.
    std::string AsString() const { return value_.value_or(std::string()); }
    /// True when the value is NULL.
    bool IsNull() const { return !value_; }

private:
    friend class TADOIBQuery; // moves the field along with the current row
    std::string name_;
    TDbText value_;
};

} // namespace plat
