#pragma once
// Rows and delta packets as the screen sends them.
#include "rdm/TableDef.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace packets {

using nlohmann::json;

/// A FORMPGTO row in table order.
inline json Term(const std::string& code, const std::string& name = "Teste", json tipo = "EMIN",
                 json referencia = "DIA_DE_REFERENCIA", json periodo = "M", json diaUtil = "N",
                 json valorIgual = "S") {
    return json::array({code, name, tipo, referencia, periodo, diaUtil, valorIgual});
}

/// A DIAPGTO row in table order.
inline json Day(json code, json inicio, json fim, json pagamento, json mes = 0.0,
                json numMeses = nullptr, json semana = "00") {
    return json::array({code, inicio, fim, pagamento, mes, numMeses, semana});
}

inline json Insert(const json& row) {
    return {{"op", "insert"}, {"new", row}};
}
inline json Update(const json& oldRow, const json& newRow) {
    return {{"op", "update"}, {"old", oldRow}, {"new", newRow}};
}
inline json Delete(const json& oldRow) {
    return {{"op", "delete"}, {"old", oldRow}};
}

/// A delta packet whose rows are given in table order; with reversed set the packet lists
/// its fields (and so its values) backwards, as a client with another field order would.
inline json Delta(const ger::TableDef& table, std::vector<json> changes, bool reversed = false) {
    json fields = json::array();
    for (const auto& field : table.fields)
        fields.push_back({{"name", field.name}});
    if (reversed) {
        std::reverse(fields.begin(), fields.end());
        for (auto& change : changes)
            for (const char* member : {"old", "new"})
                if (change.contains(member))
                    std::reverse(change[member].begin(), change[member].end());
    }
    return {{"fields", fields}, {"changes", changes}};
}

inline json TermDelta(std::vector<json> changes, bool reversed = false) {
    return json::array({Delta(ger::FormPgtoTable(), std::move(changes), reversed)});
}
inline json DayDelta(std::vector<json> changes, bool reversed = false) {
    return json::array({Delta(ger::DiaPgtoTable(), std::move(changes), reversed)});
}

} // namespace packets
