// Checks of the payment-day row being entered, by the rules of the view on show.
#include "core/Value.h"
#include "shared/Consiste.h"
#include "shell/Detached.h"
#include "shell/FormPgto.h"

namespace ger06700 {

namespace {

// Pages of the detail notebook.
constexpr int kPageMes = 0;
constexpr int kPageSemana = 1;

// A day code read as a number; a text that is none fails the check that reads it.
int DayNumber(const plat::TField& field) {
    return plat::StrToInt(field.AsString());
}

} // namespace

plat::TDBGrid* TfrmFormPgto::ViewGrid() {
    switch (nbkDiasPgto.PageIndex()) {
    case 0:
        return &dbgDiaPgto;
    case 1:
        return &dbgDiaSemana;
    case 2:
        return &dbgSemanaMes;
    default:
        return nullptr;
    }
}

void TfrmFormPgto::Vd_DiaFinal(bool boObrigatorio) {
    plat::TDBGrid* grid = ViewGrid();
    if (!grid) return;
    // Giving the grid the focus below must not start the editing that entering it starts.
    Detached detached(grid->OnEnter);
    const plat::TField* selected = grid->SelectedField();
    if (selected == &cdsDiaPgtoNRDIAFINPGTO)
        CheckPeriodDay(*grid, cdsDiaPgtoNRDIAFINPGTO, boObrigatorio);
    else if (selected == &cdsDiaPgtoNRDIAINIPGTO)
        CheckPeriodDay(*grid, cdsDiaPgtoNRDIAINIPGTO, boObrigatorio);
}

void TfrmFormPgto::CheckPeriodDay(plat::TDBGrid& grid, plat::TField& field, bool boObrigatorio) {
    const bool final = &field == &cdsDiaPgtoNRDIAFINPGTO;
    const std::string cell = plat::GridText(grid, field.FieldName(), false);
    const bool cellEmpty = plat::EmptyString(cell);
    grid.SetFocus();
    try {
        if (cellEmpty) {
            if (boObrigatorio) Report(final ? "DiaFinal_inf" : "DiaInicial_inf");
            return;
        }
        // The week view stores its weekday codes as they are picked or typed.
        if (nbkDiasPgto.PageIndex() != kPageSemana) field.SetAsString(plat::Ajusta(cell, 2));
        if (field.AsString().empty() && boObrigatorio)
            Report(final ? "DiaF_Empty" : "DiaInicial_inf");
        if (DayNumber(field) < 0) Report(final ? "DiaF_maior_zero" : "DiaI_maior_zero");
        const std::string day = field.AsString();
        const char* part = final ? "FinPeriodo" : "IniPeriodo";
        if (cdsFormPgtoIDTPPERIODO.AsString() == "S") {
            if (day > "07") Report("DiaPgto_inv", part);
        } else if (day < "01" || day > "31") {
            Report("DiaPgto_maior", part);
        }
    } catch (...) {
        SelectColumn(grid, field.FieldName());
        throw;
    }
}

void TfrmFormPgto::Vd_MesPgto(bool boObrigatorio) {
    if (!boObrigatorio || !cdsDiaPgtoNRMESFORMPGT.AsString().empty()) return;
    if (plat::TDBGrid* grid = ViewGrid()) SelectColumn(*grid, "NRMESFORMPGT");
    Report(nbkDiasPgto.PageIndex() == kPageSemana ? "Semana_inf" : "Mes_inf");
}

void TfrmFormPgto::Vd_NumMes(bool boObrigatorio) {
    const bool mes = nbkDiasPgto.PageIndex() == kPageMes;
    plat::TDBGrid& grid = mes ? dbgDiaPgto : dbgSemanaMes;
    const std::string cell = plat::GridText(grid, "NRNUMMESPGTO", false);
    try {
        if (plat::EmptyString(cell)) {
            if (!boObrigatorio) return;
            if (mes) {
                // Only a payment in the following month needs its number of months.
                if (!cdsDiaPgtoNRMESFORMPGT.IsNull() && cdsDiaPgtoNRMESFORMPGT.AsFloat() == 1)
                    Report("NumMes_Inf");
                return;
            }
            SelectColumn(dbgSemanaMes, "NRNUMMESPGTO");
            Report("SemPgto_inf");
        }
        cdsDiaPgtoNRNUMMESPGTO.SetAsString(cell);
        const double number = cdsDiaPgtoNRNUMMESPGTO.AsFloat();
        // While a row is being stored, the column the user is not in is not held to being
        // above zero.
        const bool inColumn = !boObrigatorio || (grid.SelectedField() == &cdsDiaPgtoNRNUMMESPGTO);
        if (inColumn && number <= 0) Report(mes ? "NumMes_Inv" : "NumSem_Inv");
        if (!mes && cdsFormPgtoIDTPPERIODO.AsString() == "A" && (number < 1 || number > 4))
            Report("Sem_maior");
    } catch (...) {
        cdsDiaPgtoNRNUMMESPGTO.FocusControl();
        throw;
    }
}

void TfrmFormPgto::Vd_DiaPgto(bool boObrigatorio) {
    plat::TDBGrid* grid = ViewGrid();
    if (!grid) return;
    const int page = nbkDiasPgto.PageIndex();
    const std::string cell = plat::GridText(*grid, "NRDIAPGTOVAR", false);
    if (plat::EmptyString(cell)) {
        if (boObrigatorio) {
            SelectColumn(*grid, "NRDIAPGTOVAR");
            Report("DiaPgto_inf");
        }
        return;
    }
    if (page == kPageMes)
        cdsDiaPgtoNRDIAPGTOVAR.SetAsString(
            plat::Ajusta(plat::GridText(dbgDiaPgto, "NRDIAPGTOVAR", false), 2));

    const std::string periodType = cdsFormPgtoIDTPPERIODO.AsString();
    const std::string ini = cdsDiaPgtoNRDIAINIPGTO.AsString();
    const std::string fin = cdsDiaPgtoNRDIAFINPGTO.AsString();
    const std::string pay = cdsDiaPgtoNRDIAPGTOVAR.AsString();
    plat::TDBGrid& weekGrid = page == 2 ? dbgSemanaMes : dbgDiaSemana;
    if (ini.empty()) {
        SelectColumn(*grid, "NRDIAINIPGTO");
        cdsDiaPgtoNRDIAINIPGTO.FocusControl();
        Report("DiaInicial_inf");
    }
    if (fin.empty()) {
        SelectColumn(*grid, "NRDIAFINPGTO");
        cdsDiaPgtoNRDIAFINPGTO.FocusControl();
        Report("DiaFinal_inf");
    }
    if (pay.empty()) {
        SelectColumn(*grid, "NRDIAPGTOVAR");
        Report("DiaPg_Empty");
    }
    if (DayNumber(cdsDiaPgtoNRDIAPGTOVAR) < 0) {
        SelectColumn(*grid, "NRDIAPGTOVAR");
        Report("DiaPg_maior_zero");
    }
    if (periodType == "S" && pay > "07") {
        SelectColumn(dbgDiaSemana, "NRDIAPGTOVAR");
        Report("DiaPgto_inv", "DiaPag");
    }
    if (periodType == "A" && pay > "07") {
        SelectColumn(dbgSemanaMes, "NRDIAPGTOVAR");
        Report("DiaPgto_inv", "DiaPag");
    }
    if (fin < "01" || fin > "31") {
        cdsDiaPgtoNRDIAFINPGTO.FocusControl();
        Report("DiaPgto_maior", "FinPeriodo");
    }
    if (periodType == "M") {
        if (pay < "01" || pay > "31") {
            SelectColumn(*grid, "NRDIAPGTOVAR");
            Report("DiaPgto_maior", "DiaPag");
        }
    } else if (pay < "01" || pay > "07") {
        SelectColumn(weekGrid, "NRDIAPGTOVAR");
        Report("DiaPgto_inv", "DiaPag");
    }
    // In the current month or week the payment may not come before the period ends; an unset
    // month counts as the current one.
    if (periodType != "A" && pay < fin && cdsDiaPgtoNRMESFORMPGT.AsFloat() == 0) {
        SelectColumn(page == kPageMes ? dbgDiaPgto : dbgDiaSemana, "NRDIAPGTOVAR");
        Report("DiaPgto_menor_atual");
    }
}

} // namespace ger06700
