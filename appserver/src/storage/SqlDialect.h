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
    /// Starts a write transaction. SQLite takes its one write lock at once, so writers never
    /// overlap. PostgreSQL lets writers run side by side (read committed) and each write locks
    /// the rows it relies on (LockForUpdate, LockForShare), so two writers never both act on
    /// the old state of a row while writers on different rows never wait for each other.
    std::string BeginWrite() const;
    /// Suffix of a query that locks the rows it finds until the transaction ends, rereading
    /// them if a concurrent transaction changed them meanwhile; empty on SQLite.
    std::string LockForUpdate() const;
    /// Suffix of a query that keeps the rows it finds from being changed or deleted by others
    /// until the transaction ends; empty on SQLite.
    std::string LockForShare() const;
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
