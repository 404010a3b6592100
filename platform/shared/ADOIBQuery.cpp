#include "shared/ADOIBQuery.h"

#include "core/Abort.h"
#include "core/Value.h"
#include "shared/DBGeral.h"

#include <algorithm>

namespace plat {

TADOIBQuery::TADOIBQuery(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)) {}

std::string TADOIBQuery::Text() const {
    std::string text;
    for (std::size_t i = 0; i < SQL.size(); ++i) {
        if (i > 0) text += '\n';
        text += SQL[i];
    }
    return text;
}

TQueryParam& TADOIBQuery::ParamByName(const std::string& name) {
    const std::string key = UpperCase(name);
    const auto names = ParseNamedParams(Text()).names;
    if (std::find(names.begin(), names.end(), key) == names.end())
        throw EDatabaseError(Name() + ": parâmetro '" + name + "' não encontrado.");
    return params_.try_emplace(key, name).first->second;
}

void TADOIBQuery::Open() {
    if (active_) return;
    const TParsedSql parsed = ParseNamedParams(Text());
    std::vector<TDbText> args;
    args.reserve(parsed.names.size());
    for (const std::string& name : parsed.names) {
        const auto it = params_.find(name);
        if (it == params_.end() || !it->second.Assigned())
            throw EDatabaseError(Name() + ": parâmetro '" + name + "' sem valor.");
        args.push_back(it->second.Value());
    }
    TDatabaseConnection& connection = Connection ? *Connection : dtmDBGeral().Connection();
    TQueryResult result = connection.Execute(parsed, args);

    fields_.clear();
    for (auto& column : result.columns)
        fields_.emplace_back(std::move(column), std::nullopt);
    rows_ = std::move(result.rows);
    row_ = 0;
    eof_ = rows_.empty();
    active_ = true;
    LoadRow();
}

void TADOIBQuery::Close() {
    active_ = false;
    eof_ = true;
    fields_.clear();
    rows_.clear();
    row_ = 0;
}

void TADOIBQuery::Next() {
    if (!active_ || eof_) return;
    if (row_ + 1 < rows_.size()) {
        ++row_;
        LoadRow();
    } else {
        eof_ = true; // stays on the last row, as a dataset does
    }
}

TQueryField& TADOIBQuery::FieldByName(const std::string& name) {
    if (!active_) throw EDatabaseError(Name() + ": a consulta não está aberta.");
    const std::string key = UpperCase(name);
    for (auto& field : fields_)
        if (UpperCase(field.FieldName()) == key) return field;
    throw EDatabaseError(Name() + ": campo '" + name + "' não encontrado.");
}

void TADOIBQuery::LoadRow() {
    for (std::size_t c = 0; c < fields_.size(); ++c)
        fields_[c].value_ = rows_.empty() ? TDbText() : rows_[row_][c];
}

} // namespace plat
