// No day of a term's schedule may belong to two periods: the row being entered is compared
// with the periods the server holds for the term.
#include "core/Value.h"
#include "shared/Consiste.h"
#include "shell/FormPgto.h"

namespace ger06700 {

namespace {

constexpr int kPageSemana = 1;

int DayNumber(const plat::TField& field) {
    return plat::StrToInt(field.AsString());
}

bool Blank(const plat::TField& field) {
    return plat::EmptyString(field.AsString());
}

// The text a field had when its row was last loaded or stored.
std::string OldText(const plat::TField& field) {
    const plat::Value old = field.OldValue();
    const auto* text = std::get_if<std::string>(&old);
    return text ? *text : std::string();
}

} // namespace

void TfrmFormPgto::Vd_Periodos(const std::string& stCampo, const std::string& stValor) {
    const std::string code = cdsFormPgtoCDFORMPGTO.AsString();
    if (plat::EmptyString(code) || plat::EmptyString(stValor)) return;
    cdsPeriodo.SetData(CallServer("GetPeriodo", nlohmann::json::array({code})));
    const int lastDay = nbkDiasPgto.PageIndex() == kPageSemana ? 7 : 31;

    // As many stored periods are compared as the detail holds rows, less the row being
    // edited: that row is stored already and must not be compared with itself. It need not be
    // the last one the server lists (entering a grid edits its first row), so its own period is
    // found by the days the row had before this edit and passed over once, wherever it stands;
    // the count of compared periods stays as it was.
    const bool editing = cdsDiaPgto.State() == plat::TDataSetState::Edit;
    const std::string ownIni = editing ? OldText(cdsDiaPgtoNRDIAINIPGTO) : std::string();
    const std::string ownFin = editing ? OldText(cdsDiaPgtoNRDIAFINPGTO) : std::string();
    bool ownPassed = !editing;
    int counter = editing ? 1 : 0;
    const plat::TField& periodIni = cdsPeriodo.FieldByName("NRDIAINIPGTO");
    const plat::TField& periodFin = cdsPeriodo.FieldByName("NRDIAFINPGTO");
    for (cdsPeriodo.First(); !cdsPeriodo.Eof(); cdsPeriodo.Next()) {
        if (!ownPassed && periodIni.AsString() == ownIni && periodFin.AsString() == ownFin) {
            ownPassed = true;
            continue;
        }
        if (cdsDiaPgto.RecordCount() == counter) continue;
        ComparePeriod(lastDay, stCampo, stValor);
        ++counter;
    }
}

void TfrmFormPgto::ComparePeriod(int lastDay, const std::string& stCampo,
                                 const std::string& stValor) {
    const int pIni = DayNumber(cdsPeriodo.FieldByName("NRDIAINIPGTO"));
    const int pFin = DayNumber(cdsPeriodo.FieldByName("NRDIAFINPGTO"));
    if (pIni < pFin) {
        for (int day = pIni; day <= pFin; ++day)
            Vd_PeriodosAux(day, stCampo, stValor);
    } else if (pIni > pFin) {
        // The period runs past the end of the month or week and on from day 1.
        for (int day = pIni; day <= lastDay; ++day)
            Vd_PeriodosAux(day, stCampo, stValor);
        for (int day = 1; day <= pFin; ++day)
            Vd_PeriodosAux(day, stCampo, stValor);
    } else {
        // A stored single day is taken only when the row begins or ends on it.
        if (!Blank(cdsDiaPgtoNRDIAINIPGTO) && DayNumber(cdsDiaPgtoNRDIAINIPGTO) == pIni)
            ReportOverlap("SEQDIAINV", stCampo);
        if (!Blank(cdsDiaPgtoNRDIAFINPGTO) && DayNumber(cdsDiaPgtoNRDIAFINPGTO) == pFin)
            ReportOverlap("SEQDIAINV", stCampo);
    }
}

void TfrmFormPgto::Vd_PeriodosAux(int nrDia, const std::string& stCampo,
                                  const std::string& stValor) {
    if (Blank(cdsDiaPgtoNRDIAFINPGTO) || Blank(cdsDiaPgtoNRDIAINIPGTO)) {
        // The row's period is not complete yet: only the day being entered can be taken.
        if (plat::StrToInt(stValor) == nrDia) ReportOverlap("SEQDIAINV", stCampo);
        return;
    }
    const int rIni = DayNumber(cdsDiaPgtoNRDIAINIPGTO);
    const int rFin = DayNumber(cdsDiaPgtoNRDIAFINPGTO);
    const int lastDay = nbkDiasPgto.PageIndex() == kPageSemana ? 7 : 31;
    if (rIni < rFin) {
        if (nrDia >= rIni && nrDia <= rFin) ReportOverlap("SEQINV", stCampo);
    } else if (rIni > rFin) {
        if ((nrDia >= rIni && nrDia <= lastDay) || (nrDia >= 1 && nrDia <= rFin))
            ReportOverlap("SEQINV", stCampo);
    }
}

void TfrmFormPgto::ReportOverlap(const std::string& key, const std::string& stCampo) {
    if (plat::TDBGrid* grid = ViewGrid()) SelectColumn(*grid, stCampo);
    Report(key);
}

} // namespace ger06700
