#pragma once
#include <string>
#include <vector>

namespace ger {

enum class FieldType { String, Float };

/// One column as the packets describe it and as deltas are checked against it.
struct FieldDef {
    std::string name;
    FieldType type = FieldType::String;
    int size = 0;                   ///< characters, for text fields
    std::vector<std::string> codes; ///< accepted values of a coded field; empty when free
    bool required = false;          ///< must hold a non-blank value (the term code)
    double minimum = 0;             ///< number fields: whole numbers from minimum to maximum
    double maximum = 0;
};

/// The columns of one table, in the order the packets carry them.
struct TableDef {
    std::string name;
    std::vector<FieldDef> fields;

    /// Position of the named column, or -1.
    int IndexOf(const std::string& fieldName) const;
    /// The listed columns, in the order given (for packets that carry a part of a row).
    std::vector<FieldDef> Select(const std::vector<std::string>& names) const;
    /// Comma-separated column names, for SELECT and INSERT lists.
    std::string ColumnList() const;
};

/// Table FORMPGTO: payment terms, keyed by CDFORMPGTO.
const TableDef& FormPgtoTable();
/// Table DIAPGTO: payment-day rows of a term; no key, rows may repeat.
const TableDef& DiaPgtoTable();

} // namespace ger
