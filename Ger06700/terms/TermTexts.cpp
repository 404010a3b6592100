// The payment term's coded fields as the user sees them: each stored code is shown as a
// Portuguese text of the catalogue (or of the period-type pick list), and a text typed or
// picked is stored back as its code. Texts are looked up at every call and compared whole and
// exactly, so a text the catalogue does not hold never stores a code by accident.
#include "shared/Consiste.h"
#include "shell/BindHandler.h"
#include "shell/FormPgto.h"

namespace ger06700 {

namespace {

struct CodeKey {
    const char* code;
    const char* key;
};

// In the order the handlers test them.
constexpr CodeKey kReferenceDates[] = {
    {"EMIN", "Demin"}, {"EMEX", "Demex"}, {"ENIN", "Denin"},
    {"ENEX", "Denex"}, {"DSIN", "Ddsin"}, {"DSEX", "Ddsex"},
};
constexpr CodeKey kIntervals[] = {
    {"DIA_DE_REFERENCIA", "F_Dia"},  {"FORA_SEMANA", "F_Semana"}, {"FORA_DEZENA", "F_Dezena"},
    {"FORA_QUINZENA", "F_Quinzena"}, {"FORA_MES", "F_Mes"},
};
// Period types by their place in the pick list.
constexpr const char* kPeriodTypes[] = {"M", "S", "A"};

const CodeKey* ByCode(const CodeKey* begin, const CodeKey* end, const std::string& code) {
    for (const CodeKey* row = begin; row != end; ++row)
        if (code == row->code) return row;
    return nullptr;
}

} // namespace

// ---- reference date ----

void TfrmFormPgto::cdsFormPgtoIDTIPODTPGTOGetText(plat::TField&, std::string& text, bool) {
    const std::string stored = cdsFormPgtoIDTIPODTPGTO.AsString();
    if (plat::EmptyString(stored)) return;
    const CodeKey* row = ByCode(std::begin(kReferenceDates), std::end(kReferenceDates), stored);
    // Anything that is no code reads as departure, exclusive.
    text = msgPadrao.Msg(row ? row->key : "Ddsex");
}

void TfrmFormPgto::cdsFormPgtoIDTIPODTPGTOSetText(plat::TField&, const std::string& text) {
    for (const CodeKey& row : kReferenceDates)
        if (text == msgPadrao.Msg(row.key)) return cdsFormPgtoIDTIPODTPGTO.SetAsString(row.code);
    cdsFormPgtoIDTIPODTPGTO.SetAsString("DSEX");
}

// ---- interval after the reference date ----

void TfrmFormPgto::cdsFormPgtoIDREFECALCPARCGetText(plat::TField&, std::string& text, bool) {
    const std::string stored = cdsFormPgtoIDREFECALCPARC.AsString();
    if (plat::EmptyString(stored)) return;
    if (const CodeKey* row = ByCode(std::begin(kIntervals), std::end(kIntervals), stored))
        text = msgPadrao.Msg(row->key);
}

void TfrmFormPgto::cdsFormPgtoIDREFECALCPARCSetText(plat::TField&, const std::string& text) {
    for (const CodeKey& row : kIntervals)
        if (text == msgPadrao.Msg(row.key)) return cdsFormPgtoIDREFECALCPARC.SetAsString(row.code);
}

// ---- the two yes/no flags: only "N" is no ----

namespace {

void FlagGetText(const plat::TMessages& catalogue, const plat::TField& field, std::string& text) {
    const std::string stored = field.AsString();
    if (plat::EmptyString(stored)) return;
    text = catalogue.Msg(stored == "N" ? "Cons_Nao" : "Cons_Sim");
}

void FlagSetText(const plat::TMessages& catalogue, plat::TField& field, const std::string& text) {
    field.SetAsString(text == catalogue.Msg("Cons_Nao") ? "N" : "S");
}

} // namespace

void TfrmFormPgto::cdsFormPgtoIDCONSDIAUTILGetText(plat::TField&, std::string& text, bool) {
    FlagGetText(msgPadrao, cdsFormPgtoIDCONSDIAUTIL, text);
}

void TfrmFormPgto::cdsFormPgtoIDCONSDIAUTILSetText(plat::TField&, const std::string& text) {
    FlagSetText(msgPadrao, cdsFormPgtoIDCONSDIAUTIL, text);
}

void TfrmFormPgto::cdsFormPgtoIDVRIGUALPARCGetText(plat::TField&, std::string& text, bool) {
    FlagGetText(msgPadrao, cdsFormPgtoIDVRIGUALPARC, text);
}

void TfrmFormPgto::cdsFormPgtoIDVRIGUALPARCSetText(plat::TField&, const std::string& text) {
    FlagSetText(msgPadrao, cdsFormPgtoIDVRIGUALPARC, text);
}

// ---- period type: texts of the master grid's pick list ----

const std::vector<std::string>& TfrmFormPgto::PeriodTypeTexts() {
    return dbgPadrao.Column(plat::IndiceCol(dbgPadrao, "IDTPPERIODO")).PickList;
}

void TfrmFormPgto::cdsFormPgtoIDTPPERIODOGetText(plat::TField&, std::string& text, bool) {
    const std::string stored = cdsFormPgtoIDTPPERIODO.AsString();
    if (plat::EmptyString(stored)) return;
    const std::vector<std::string>& texts = PeriodTypeTexts();
    for (std::size_t i = 0; i < std::size(kPeriodTypes) && i < texts.size(); ++i)
        if (stored[0] == kPeriodTypes[i][0]) text = texts[i];
}

void TfrmFormPgto::cdsFormPgtoIDTPPERIODOSetText(plat::TField&, const std::string& text) {
    const std::vector<std::string>& texts = PeriodTypeTexts();
    for (std::size_t i = 0; i < std::size(kPeriodTypes) && i < texts.size(); ++i)
        if (text == texts[i]) return cdsFormPgtoIDTPPERIODO.SetAsString(kPeriodTypes[i]);
}

// ---- description ----

void TfrmFormPgto::cdsFormPgtoNMFORMPGTOSetText(plat::TField&, const std::string& text) {
    // A description cleared in the grid keeps the former one; the check before storing the
    // term reports a description that is missing altogether.
    if (plat::EmptyString(plat::GridText(dbgPadrao, "NMFORMPGTO", false))) return;
    cdsFormPgtoNMFORMPGTO.SetAsString(text);
}

void TfrmFormPgto::AddTermTextHandlers(plat::THandlerTable& table) {
    BindHandler(table, "cdsFormPgtoIDTIPODTPGTOGetText", this,
                &TfrmFormPgto::cdsFormPgtoIDTIPODTPGTOGetText);
    BindHandler(table, "cdsFormPgtoIDTIPODTPGTOSetText", this,
                &TfrmFormPgto::cdsFormPgtoIDTIPODTPGTOSetText);
    BindHandler(table, "cdsFormPgtoIDREFECALCPARCGetText", this,
                &TfrmFormPgto::cdsFormPgtoIDREFECALCPARCGetText);
    BindHandler(table, "cdsFormPgtoIDREFECALCPARCSetText", this,
                &TfrmFormPgto::cdsFormPgtoIDREFECALCPARCSetText);
    BindHandler(table, "cdsFormPgtoIDCONSDIAUTILGetText", this,
                &TfrmFormPgto::cdsFormPgtoIDCONSDIAUTILGetText);
    BindHandler(table, "cdsFormPgtoIDCONSDIAUTILSetText", this,
                &TfrmFormPgto::cdsFormPgtoIDCONSDIAUTILSetText);
    BindHandler(table, "cdsFormPgtoIDVRIGUALPARCGetText", this,
                &TfrmFormPgto::cdsFormPgtoIDVRIGUALPARCGetText);
    BindHandler(table, "cdsFormPgtoIDVRIGUALPARCSetText", this,
                &TfrmFormPgto::cdsFormPgtoIDVRIGUALPARCSetText);
    BindHandler(table, "cdsFormPgtoIDTPPERIODOGetText", this,
                &TfrmFormPgto::cdsFormPgtoIDTPPERIODOGetText);
    BindHandler(table, "cdsFormPgtoIDTPPERIODOSetText", this,
                &TfrmFormPgto::cdsFormPgtoIDTPPERIODOSetText);
    BindHandler(table, "cdsFormPgtoNMFORMPGTOSetText", this,
                &TfrmFormPgto::cdsFormPgtoNMFORMPGTOSetText);
}

} // namespace ger06700
