#pragma once
#include <string>

namespace ger {

/// The SQL that differs between the database engines the server can run on. Every statement
/// the server sends is written once, with "?" placeholders, and passes through this class
/// where engines disagree; nothing else in the server knows which engine it talks to.
class SqlDialect {
public:
    enum class Engine { SQLite, PostgreSQL };

    explicit SqlDialect(Engine engine) : engine_(engine) {}
    Engine engine() const { return engine_; }

    /// Comparison of column with one parameter that treats two nulls as equal.
    std::string NullSafeEqual(const std::string& column) const;
    /// Column that tells apart rows equal in every column (DIAPGTO has no key) and orders
    /// rows by insertion: SQLite's rowid; on PostgreSQL a serial column of the server's own.
    std::string RowId() const;
    /// Definition of the RowId() column where the engine has none built in; empty otherwise.
    std::string RowIdColumnDefinition() const;
    /// Starts a transaction that takes the write lock at once (SQLite) or that the engine
    /// refuses at commit when a concurrent one changed what it read (PostgreSQL), so two
    /// writers never both act on the old state.
    std::string BeginWrite() const;
    /// Statement run first in a schema change, keeping two servers from changing the schema
    /// at once; empty where BeginWrite() already does.
    std::string SchemaLock() const;
    /// Column type of a text of at most size characters, compared byte by byte on every
    /// engine so that sorting and MAX agree across engines.
    std::string TextType(int size) const;
    /// Column type of a floating-point number.
    std::string RealType() const;
    /// Query with one parameter (the table name) giving a row when the table exists.
    std::string TableExists() const;
    /// Rewrites the "?" placeholders of sql (outside quoted literals) into the engine's own
    /// form; sql already rewritten stays as it is.
    std::string Bind(const std::string& sql) const;

private:
    Engine engine_;
};

} // namespace ger
