#include "rdm/TableDef.h"

#include <stdexcept>

namespace ger {

int TableDef::IndexOf(const std::string& fieldName) const {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name == fieldName) return static_cast<int>(i);
    return -1;
}

std::vector<FieldDef> TableDef::Select(const std::vector<std::string>& names) const {
    std::vector<FieldDef> selected;
    for (const auto& name : names) {
        int index = IndexOf(name);
        if (index < 0) throw std::logic_error("no column " + name + " in " + this->name);
        selected.push_back(fields[static_cast<std::size_t>(index)]);
    }
    return selected;
}

std::string TableDef::ColumnList() const {
    std::string list;
    for (const auto& field : fields)
        list += (list.empty() ? "" : ", ") + field.name;
    return list;
}

const TableDef& FormPgtoTable() {
    static const TableDef table{
        "FORMPGTO",
        {
            {"CDFORMPGTO", FieldType::String, 2, {}, true},
            {"NMFORMPGTO", FieldType::String, 30, {}, false},
            {"IDTIPODTPGTO",
             FieldType::String,
             4,
             {"EMIN", "EMEX", "ENIN", "ENEX", "DSIN", "DSEX"},
             false},
            {"IDREFECALCPARC",
             FieldType::String,
             30,
             {"DIA_DE_REFERENCIA", "FORA_SEMANA", "FORA_DEZENA", "FORA_QUINZENA", "FORA_MES"},
             false},
            {"IDTPPERIODO", FieldType::String, 1, {"M", "S", "A"}, false},
            {"IDCONSDIAUTIL", FieldType::String, 1, {"N", "S"}, false},
            {"IDVRIGUALPARC", FieldType::String, 1, {"N", "S"}, false},
        }};
    return table;
}

const TableDef& DiaPgtoTable() {
    static const TableDef table{
        "DIAPGTO",
        {
            {"CDFORMPGTO", FieldType::String, 2, {}, true},
            {"NRDIAINIPGTO", FieldType::String, 2, {}, false},
            {"NRDIAFINPGTO", FieldType::String, 2, {}, false},
            {"NRDIAPGTOVAR", FieldType::String, 2, {}, false},
            // the month or week of payment: 0 or 1, or the 1st to 10th following month
            {"NRMESFORMPGT", FieldType::Float, 0, {}, false, 0, 10},
            // a number of months, or the week of the month 1 to 4
            {"NRNUMMESPGTO", FieldType::Float, 0, {}, false, 0, 999},
            {"NRDIAPGTOSEMANA", FieldType::String, 2, {}, false},
        }};
    return table;
}

} // namespace ger
