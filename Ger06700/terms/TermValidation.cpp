// Checks of the payment term in the current row of the master grid, before it is stored.
#include "core/Value.h"
#include "shared/Consiste.h"
#include "shell/FormPgto.h"

namespace ger06700 {

void TfrmFormPgto::CheckTermCell(plat::TField& field, const char* key, bool boObrigatorio) {
    const std::string text = plat::GridText(dbgPadrao, field.FieldName(), false);
    try {
        if (plat::EmptyString(text) && boObrigatorio) Report(key);
    } catch (...) {
        field.FocusControl();
        throw;
    }
}

void TfrmFormPgto::Vd_CodForm(bool boObrigatorio) {
    const std::string text = plat::GridText(dbgPadrao, "CDFORMPGTO", false);
    try {
        if (plat::EmptyString(text)) {
            if (boObrigatorio) Report("Cod_inf");
            return;
        }
        // Codes are stored as two characters: "7" is the term "07".
        cdsFormPgtoCDFORMPGTO.SetAsString(
            plat::Ajusta(plat::GridText(dbgPadrao, "CDFORMPGTO", false), 2));
        // The callers check only a term being inserted, so a stored term never meets its own
        // code here.
        cdsVerCodForm.SetData(
            CallServer("GetVerCdForm", nlohmann::json::array({cdsFormPgtoCDFORMPGTO.AsString()})));
        if (!cdsVerCodForm.IsEmpty()) Report("Cod_cad");
    } catch (...) {
        cdsFormPgtoCDFORMPGTO.FocusControl();
        throw;
    }
}

void TfrmFormPgto::Vd_DescForm(bool boObrigatorio) {
    CheckTermCell(cdsFormPgtoNMFORMPGTO, "Desc_inf", boObrigatorio);
}

void TfrmFormPgto::Vd_DataBase(bool boObrigatorio) {
    CheckTermCell(cdsFormPgtoIDTIPODTPGTO, "DataBase_inf", boObrigatorio);
}

void TfrmFormPgto::Vd_DtReferencia(bool boObrigatorio) {
    // A value outside the interval table shows an empty text, so it counts as missing.
    CheckTermCell(cdsFormPgtoIDREFECALCPARC, "Ref_inf", boObrigatorio);
}

void TfrmFormPgto::Vd_ConsideraDiasUteis(bool boObrigatorio) {
    CheckTermCell(cdsFormPgtoIDCONSDIAUTIL, "DiaUtil_Inf", boObrigatorio);
}

void TfrmFormPgto::Vd_Periodo(bool boObrigatorio) {
    CheckTermCell(cdsFormPgtoIDTPPERIODO, "Period_inf", boObrigatorio);
    const std::string text = plat::GridText(dbgPadrao, "IDTPPERIODO", false);
    if (plat::EmptyString(text)) return;
    // The picked texts all begin with "P"; a code letter typed into the cell instead is taken
    // as that PeriodType, whatever follows it.
    const std::string letter = plat::UpperCase(text.substr(0, 1));
    if (letter == "A" || letter == "M" || letter == "S") {
        const plat::Value old = cdsFormPgtoIDTPPERIODO.OldValue();
        const auto* oldType = std::get_if<std::string>(&old);
        if (!oldType || *oldType != letter) {
            cdsFormPgtoIDTPPERIODO.SetAsString(letter);
            return;
        }
        // Typing the PeriodType the term already had changes nothing: the cell stays for the
        // user to pick a text, and no message is due.
        SelectColumn(dbgPadrao, "IDTPPERIODO");
        plat::Abort();
    }
    // Selecting the column the user is leaving would keep him on it for good (a column chosen
    // while a column is left is where the cursor goes): an accepted PeriodType lets him go on.
    if (dbgPadrao.SelectedField() != &cdsFormPgtoIDTPPERIODO)
        SelectColumn(dbgPadrao, "IDTPPERIODO");
}

} // namespace ger06700
