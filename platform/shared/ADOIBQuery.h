#pragma once
#include "core/Component.h"
#include "shared/DatabaseConnection.h"
#include "shared/QueryField.h"
#include "shared/QueryParam.h"

#include <map>
#include <string>
#include <vector>

namespace plat {

/// A read-only query on the host's database, with named parameters (":NAME") and a cursor
/// over its rows. Opening reads every row at once: result sets of the host are small.
class TADOIBQuery : public TComponent {
public:
    TADOIBQuery(TComponent* owner, std::string name);

    /// The statement, one element per line; the lines are joined with newlines.
    std::vector<std::string> SQL;
    /// Connection to run on (not owned); null runs on the data module's shared connection.
    TDatabaseConnection* Connection = nullptr;

    /// The lines of SQL joined with newlines.
    std::string Text() const;
    /// The parameter called name in the text (letter case ignored); throws EDatabaseError when
    /// the text has none. Values are kept across Close and Open.
    TQueryParam& ParamByName(const std::string& name);

    /// Runs the statement and stands on its first row; does nothing when already open.
    /// Throws EDatabaseError for a parameter without value or a failed statement.
    void Open();
    /// Drops the rows; fields taken from the query are no longer valid.
    void Close();
    /// True between Open and Close.
    bool Active() const { return active_; }
    /// True when there is no row, or Next went past the last one.
    bool Eof() const { return eof_; }
    /// Moves to the next row; past the last one Eof becomes true.
    void Next();
    /// Number of rows read.
    int RecordCount() const { return static_cast<int>(rows_.size()); }
    /// The column called name (letter case ignored) on the current row; throws EDatabaseError
    /// when the query is closed or has no such column.
    TQueryField& FieldByName(const std::string& name);

private:
    void LoadRow();
    std::map<std::string, TQueryParam> params_; // by upper-case name
    std::vector<TQueryField> fields_;
    std::vector<std::vector<TDbText>> rows_;
    std::size_t row_ = 0;
    bool active_ = false;
    bool eof_ = true;
};

} // namespace plat
