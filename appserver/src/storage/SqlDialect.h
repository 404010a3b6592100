#pragma once
#include <string>

namespace ger {

/// The SQL that differs between the database engines the server can run on. Every statement
/// the server sends is written once, with "?" placeholders, and passes through this class
/// where engines disagree.
class SqlDialect {
public:
    enum class Engine { SQLite, PostgreSQL };

    explicit SqlDialect(Engine engine) : engine_(engine) {}
    Engine engine() const { return engine_; }

    /// Comparison of column with one parameter that treats two nulls as equal.
    std::string NullSafeEqual(const std::string& column) const;
    /// Hidden column that tells apart rows equal in every column (DIAPGTO has no key).
    std::string RowId() const;
    /// Starts a transaction that takes the write lock at once, so two writers never both
    /// read the old state and then collide at commit.
    std::string BeginWrite() const;
    /// Column type of a text of at most size characters.
    std::string TextType(int size) const;
    /// Column type of a floating-point number.
    std::string RealType() const;
    /// Query with one parameter (the table name) giving a row when the table exists.
    std::string TableExists() const;
    /// Rewrites the "?" placeholders of sql into the engine's own form.
    std::string Bind(const std::string& sql) const;

private:
    Engine engine_;
};

} // namespace ger
