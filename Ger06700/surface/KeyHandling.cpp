// Keys in the four grids: moving between master and detail, posting from the PeriodType cell,
// the protected code of a stored term, and characters that name a code or that a column
// cannot hold.
#include "core/Abort.h"
#include "core/Value.h"
#include "shared/Consiste.h"
#include "shell/BindHandler.h"
#include "shell/FormPgto.h"

namespace ger06700 {

namespace {

bool Editing(const plat::TClientDataSet& dataSet) {
    return plat::IsEditing(dataSet.State());
}

bool Digit(const std::string& ch) {
    return ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9';
}

bool Letter(const std::string& ch) {
    return ch.size() == 1 && ((ch[0] >= 'A' && ch[0] <= 'Z') || (ch[0] >= 'a' && ch[0] <= 'z'));
}

bool Selected(const plat::TDBGrid& grid, const char* fieldName) {
    const plat::TField* field = grid.SelectedField();
    return field && plat::SameText(field->FieldName(), fieldName);
}

// Digits, the decimal signs and Backspace: what a day typed as a number may hold.
bool NumberCharacter(const std::string& ch) {
    return Digit(ch) || ch == "," || ch == "." || ch == "\b";
}

void Discard(std::string& ch) {
    ch.clear();
}

} // namespace

void TfrmFormPgto::StoreByKey(plat::TClientDataSet& dataSet, plat::TField& field,
                              const std::string& code, std::string& ch) {
    if (!Editing(dataSet)) dataSet.Edit();
    const std::string before = field.AsString();
    field.SetAsString(code);
    // The stored code is what the cell holds now. Where the field already held it, nothing
    // tells the grid so, and the character would be typed into the cell and written back
    // through the field's text handler when the cell is left ("N" read as a display text is
    // "Sim"); it has done its work and goes no further.
    if (field.AsString() == before) Discard(ch);
}

void TfrmFormPgto::FormKeyDown(plat::TForm& sender, std::uint16_t& key, plat::TShiftState shift) {
    plat::TfrmPadraoGrid::FormKeyDown(sender, key, shift);
    if (!shift.alt || !dynamic_cast<plat::TDBGrid*>(ActiveControl())) return;
    if (ActiveControl() == &dbgPadrao && key == plat::VK_NEXT) {
        key = 0;
        const int page = nbkDiasPgto.PageIndex();
        (page == 0 ? dbgDiaPgto : page == 1 ? dbgDiaSemana : dbgSemanaMes).SetFocus();
    } else if ((ActiveControl() == &dbgDiaPgto || ActiveControl() == &dbgDiaSemana ||
                ActiveControl() == &dbgSemanaMes) &&
               key == plat::VK_PRIOR) {
        key = 0;
        dbgPadrao.SetFocus();
    }
}

void TfrmFormPgto::dbgPadraoKeyDown(plat::TControl& sender, std::uint16_t& key,
                                    plat::TShiftState shift) {
    plat::TfrmPadraoGrid::dbgPadraoKeyDown(sender, key, shift);
    if (Editing(cdsFormPgto)) {
        // Down moves along the row being edited instead of leaving it.
        if (key == plat::VK_DOWN) key = plat::VK_TAB;
        if (Selected(dbgPadrao, "IDTPPERIODO") && key == plat::VK_TAB) {
            key = 0;
            cdsFormPgto.Post();
        }
    }
    // The code of a stored term cannot be erased from the keyboard.
    if (cdsFormPgto.State() != plat::TDataSetState::Insert && Selected(dbgPadrao, "CDFORMPGTO") &&
        (key == plat::VK_DELETE || key == plat::VK_BACK))
        plat::Abort();
}

void TfrmFormPgto::dbgPadraoKeyPress(plat::TControl& sender, std::string& key) {
    plat::TfrmPadraoGrid::dbgPadraoKeyPress(sender, key);
    if (!Editing(cdsFormPgto) || key.empty()) return;
    if (Selected(dbgPadrao, "IDTIPODTPGTO")) {
        if (key == "D" || key == "d") {
            // D steps the reference date along its codes.
            static const std::pair<const char*, const char*> kNext[] = {
                {"", "EMIN"},     {"EMIN", "EMEX"}, {"EMEX", "ENIN"}, {"ENIN", "ENEX"},
                {"ENEX", "DSIN"}, {"DSIN", "DSEX"}, {"DSEX", "EMIN"}};
            const std::string current = cdsFormPgtoIDTIPODTPGTO.AsString();
            for (const auto& [from, to] : kNext)
                if (current == from) {
                    StoreByKey(cdsFormPgto, cdsFormPgtoIDTIPODTPGTO, to, key);
                    return;
                }
        } else if (Letter(key)) {
            Discard(key);
        }
    } else if (Selected(dbgPadrao, "IDREFECALCPARC")) {
        Discard(key); // picked from the list only
    } else if (Selected(dbgPadrao, "IDCONSDIAUTIL") || Selected(dbgPadrao, "IDVRIGUALPARC")) {
        plat::TField& flag = Selected(dbgPadrao, "IDCONSDIAUTIL") ? cdsFormPgtoIDCONSDIAUTIL
                                                                  : cdsFormPgtoIDVRIGUALPARC;
        if (key == "N" || key == "S")
            StoreByKey(cdsFormPgto, flag, key, key);
        else
            Discard(key);
    }
}

void TfrmFormPgto::dbgDiaPgtoKeyDown(plat::TControl&, std::uint16_t& key, plat::TShiftState shift) {
    // Day rows are deleted by the delete command only, not by the grid's own shortcut.
    if (key == plat::VK_DELETE && shift.ctrl) key = 0;
}

void TfrmFormPgto::dbgDiaSemanaKeyDown(plat::TControl& sender, std::uint16_t& key,
                                       plat::TShiftState shift) {
    dbgDiaPgtoKeyDown(sender, key, shift);
}

void TfrmFormPgto::dbgSemanaMesKeyDown(plat::TControl& sender, std::uint16_t& key,
                                       plat::TShiftState shift) {
    dbgDiaPgtoKeyDown(sender, key, shift);
}

void TfrmFormPgto::dbgDiaPgtoKeyPress(plat::TControl&, std::string& key) {
    if (key.empty()) return;
    if (Selected(dbgDiaPgto, "NRDIAINIPGTO") || Selected(dbgDiaPgto, "NRDIAFINPGTO")) {
        if (!NumberCharacter(key)) Discard(key);
        return;
    }
    if (key != "\b" && key != "\r" &&
        plat::Utf8Length(plat::GridText(dbgDiaPgto, "NRNUMMESPGTO", false)) >=
            static_cast<std::size_t>(cdsDiaPgtoNRNUMMESPGTO.Precision)) {
        Discard(key);
        return;
    }
    key = plat::UpperCase(key);
    if (!Selected(dbgDiaPgto, "NRDIAPGTOSEMANA")) return;
    // A letter or digit names the weekday: D(omingo), 2 to 6, S(ábado), 0 for none.
    static const std::pair<const char*, const char*> kWeekday[] = {
        {"D", "01"}, {"2", "02"}, {"3", "03"}, {"4", "04"},
        {"5", "05"}, {"6", "06"}, {"S", "07"}, {"0", "00"}};
    for (const auto& [ch, code] : kWeekday)
        if (key == ch) {
            StoreByKey(cdsDiaPgto, cdsDiaPgtoNRDIAPGTOSEMANA, code, key);
            return;
        }
}

void TfrmFormPgto::dbgDiaSemanaKeyPress(plat::TControl&, std::string& key) {
    // Escape has cancelled the row: its character turned into a space would start editing
    // the row again at once, with a blank typed in the cell.
    if (key.empty() || key == "\x1b") return;
    if (key.size() != 1 || key[0] < '1' || key[0] > '7') {
        key = " ";
        return;
    }
    for (const char* field : {"NRDIAINIPGTO", "NRDIAFINPGTO", "NRDIAPGTOVAR"})
        if (Selected(dbgDiaSemana, field)) {
            StoreByKey(cdsDiaPgto, cdsDiaPgto.FieldByName(field), "0" + key, key);
            return;
        }
}

void TfrmFormPgto::dbgSemanaMesKeyPress(plat::TControl&, std::string& key) {
    if (key.empty()) return;
    key = plat::UpperCase(key);
    if (Selected(dbgSemanaMes, "NRDIAPGTOVAR") && key.size() == 1 && key[0] >= '1' && key[0] <= '7')
        StoreByKey(cdsDiaPgto, cdsDiaPgtoNRDIAPGTOVAR, "0" + key, key);
    if (key.empty()) return;
    if (Selected(dbgSemanaMes, "NRDIAINIPGTO")) {
        if (!NumberCharacter(key)) Discard(key);
        return;
    }
    if (key != "\b" && key != "\r" &&
        plat::Utf8Length(plat::GridText(dbgSemanaMes, "NRNUMMESPGTO", false)) >=
            static_cast<std::size_t>(cdsDiaPgtoNRNUMMESPGTO.Precision))
        Discard(key);
}

void TfrmFormPgto::AddKeyHandlers(plat::THandlerTable& table) {
    BindHandler(table, "dbgDiaPgtoKeyDown", this, &TfrmFormPgto::dbgDiaPgtoKeyDown);
    BindHandler(table, "dbgDiaSemanaKeyDown", this, &TfrmFormPgto::dbgDiaSemanaKeyDown);
    BindHandler(table, "dbgSemanaMesKeyDown", this, &TfrmFormPgto::dbgSemanaMesKeyDown);
    BindHandler(table, "dbgDiaPgtoKeyPress", this, &TfrmFormPgto::dbgDiaPgtoKeyPress);
    BindHandler(table, "dbgDiaSemanaKeyPress", this, &TfrmFormPgto::dbgDiaSemanaKeyPress);
    BindHandler(table, "dbgSemanaMesKeyPress", this, &TfrmFormPgto::dbgSemanaMesKeyPress);
}

} // namespace ger06700
