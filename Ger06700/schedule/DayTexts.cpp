// The day-row fields as the user sees them, read by the current term's period type: weekday
// names for weekly schedules, "Atual"/"Seguinte" for the month or week of payment, and "1º Mês
// Posterior" to "10º Mês Posterior" for payments in a later month. Texts come from the
// catalogue at every call and a typed text must match one whole and exactly; anything else
// is dropped and the field keeps its value.
#include "shared/Consiste.h"
#include "shell/BindHandler.h"
#include "shell/FormPgto.h"

#include <cmath>

namespace ger06700 {

namespace {

// Weekday codes "01" (Sunday) to "07" (Saturday) are the catalogue keys "1" to "7".
constexpr int kWeekdays = 7;
// Later months "1º Mês Posterior" to "10º Mês Posterior".
constexpr int kLaterMonths = 10;

// The weekday a stored code names, read from its second character; empty for none ("00").
std::string WeekdayText(const plat::TMessages& catalogue, const std::string& stored) {
    if (plat::EmptyString(stored) || stored.size() < 2) return {};
    const char day = stored[1];
    if (day < '1' || day > '0' + kWeekdays) return {};
    return catalogue.Msg(std::string(1, day));
}

// The code of a weekday name; empty when the text names none.
std::string WeekdayCode(const plat::TMessages& catalogue, const std::string& text) {
    for (int day = 1; day <= kWeekdays; ++day)
        if (text == catalogue.Msg(std::to_string(day))) return "0" + std::to_string(day);
    return {};
}

std::string LaterMonthKey(int month) {
    return std::to_string(month) + "MesPost";
}

} // namespace

// ---- initial and final day of the period ----

namespace {

// Weekly schedules name their days; the others show and store the day as typed (the day
// checks bring it to two digits).
void PeriodDayGetText(const plat::TMessages& catalogue, const std::string& periodType,
                      const plat::TField& field, std::string& text) {
    text = periodType == "S" ? WeekdayText(catalogue, field.AsString()) : field.AsString();
}

void PeriodDaySetText(const plat::TMessages& catalogue, const std::string& periodType,
                      plat::TField& field, const std::string& text) {
    if (periodType == "S") {
        const std::string code = WeekdayCode(catalogue, text);
        if (!code.empty()) field.SetAsString(code);
    } else if (periodType == "M" || periodType == "A") {
        field.SetAsString(text);
    }
}

} // namespace

void TfrmFormPgto::cdsDiaPgtoNRDIAINIPGTOGetText(plat::TField&, std::string& text, bool) {
    PeriodDayGetText(msgPadrao, cdsFormPgtoIDTPPERIODO.AsString(), cdsDiaPgtoNRDIAINIPGTO, text);
}

void TfrmFormPgto::cdsDiaPgtoNRDIAINIPGTOSetText(plat::TField&, const std::string& text) {
    PeriodDaySetText(msgPadrao, cdsFormPgtoIDTPPERIODO.AsString(), cdsDiaPgtoNRDIAINIPGTO, text);
}

void TfrmFormPgto::cdsDiaPgtoNRDIAFINPGTOGetText(plat::TField&, std::string& text, bool) {
    PeriodDayGetText(msgPadrao, cdsFormPgtoIDTPPERIODO.AsString(), cdsDiaPgtoNRDIAFINPGTO, text);
}

void TfrmFormPgto::cdsDiaPgtoNRDIAFINPGTOSetText(plat::TField&, const std::string& text) {
    PeriodDaySetText(msgPadrao, cdsFormPgtoIDTPPERIODO.AsString(), cdsDiaPgtoNRDIAFINPGTO, text);
}

// ---- day of payment: a weekday when paying by week, else a day of the month ----

void TfrmFormPgto::cdsDiaPgtoNRDIAPGTOVARGetText(plat::TField&, std::string& text, bool) {
    const std::string periodType = cdsFormPgtoIDTPPERIODO.AsString();
    const std::string stored = cdsDiaPgtoNRDIAPGTOVAR.AsString();
    text = periodType == "S" || periodType == "A" ? WeekdayText(msgPadrao, stored) : stored;
}

void TfrmFormPgto::cdsDiaPgtoNRDIAPGTOVARSetText(plat::TField&, const std::string& text) {
    const std::string periodType = cdsFormPgtoIDTPPERIODO.AsString();
    if (periodType != "S" && periodType != "A") return cdsDiaPgtoNRDIAPGTOVAR.SetAsString(text);
    const std::string code = WeekdayCode(msgPadrao, text);
    if (!code.empty()) cdsDiaPgtoNRDIAPGTOVAR.SetAsString(code);
}

// ---- month or week of payment ----

void TfrmFormPgto::cdsDiaPgtoNRMESFORMPGTGetText(plat::TField&, std::string& text, bool) {
    if (cdsDiaPgtoNRMESFORMPGT.IsNull()) return;
    const std::string periodType = cdsFormPgtoIDTPPERIODO.AsString();
    const double month = cdsDiaPgtoNRMESFORMPGT.AsFloat();
    if (periodType == "S" || periodType == "M") {
        text = msgPadrao.Msg(month == 0 ? "Atual" : "Seguinte");
        return;
    }
    if (month >= 1 && month <= kLaterMonths && month == std::floor(month))
        text = msgPadrao.Msg(LaterMonthKey(static_cast<int>(month)));
}

void TfrmFormPgto::cdsDiaPgtoNRMESFORMPGTSetText(plat::TField&, const std::string& text) {
    const std::string periodType = cdsFormPgtoIDTPPERIODO.AsString();
    if (periodType == "S" || periodType == "M") {
        if (text == msgPadrao.Msg("Atual"))
            cdsDiaPgtoNRMESFORMPGT.SetAsFloat(0);
        else if (text == msgPadrao.Msg("Seguinte"))
            cdsDiaPgtoNRMESFORMPGT.SetAsFloat(1);
        return;
    }
    for (int month = 1; month <= kLaterMonths; ++month)
        if (text == msgPadrao.Msg(LaterMonthKey(month)))
            return cdsDiaPgtoNRMESFORMPGT.SetAsFloat(month);
}

// ---- weekday of a monthly payment ("00": none) ----

void TfrmFormPgto::cdsDiaPgtoNRDIAPGTOSEMANAGetText(plat::TField&, std::string& text, bool) {
    const std::string stored = cdsDiaPgtoNRDIAPGTOSEMANA.AsString();
    text = cdsFormPgtoIDTPPERIODO.AsString() == "M" ? WeekdayText(msgPadrao, stored) : stored;
}

void TfrmFormPgto::cdsDiaPgtoNRDIAPGTOSEMANASetText(plat::TField&, const std::string& text) {
    if (cdsFormPgtoIDTPPERIODO.AsString() != "M") return;
    const std::string code = WeekdayCode(msgPadrao, text);
    cdsDiaPgtoNRDIAPGTOSEMANA.SetAsString(code.empty() ? "00" : code);
}

void TfrmFormPgto::AddDayTextHandlers(plat::THandlerTable& table) {
    BindHandler(table, "cdsDiaPgtoNRDIAINIPGTOGetText", this,
                &TfrmFormPgto::cdsDiaPgtoNRDIAINIPGTOGetText);
    BindHandler(table, "cdsDiaPgtoNRDIAINIPGTOSetText", this,
                &TfrmFormPgto::cdsDiaPgtoNRDIAINIPGTOSetText);
    BindHandler(table, "cdsDiaPgtoNRDIAFINPGTOGetText", this,
                &TfrmFormPgto::cdsDiaPgtoNRDIAFINPGTOGetText);
    BindHandler(table, "cdsDiaPgtoNRDIAFINPGTOSetText", this,
                &TfrmFormPgto::cdsDiaPgtoNRDIAFINPGTOSetText);
    BindHandler(table, "cdsDiaPgtoNRDIAPGTOVARGetText", this,
                &TfrmFormPgto::cdsDiaPgtoNRDIAPGTOVARGetText);
    BindHandler(table, "cdsDiaPgtoNRDIAPGTOVARSetText", this,
                &TfrmFormPgto::cdsDiaPgtoNRDIAPGTOVARSetText);
    BindHandler(table, "cdsDiaPgtoNRMESFORMPGTGetText", this,
                &TfrmFormPgto::cdsDiaPgtoNRMESFORMPGTGetText);
    BindHandler(table, "cdsDiaPgtoNRMESFORMPGTSetText", this,
                &TfrmFormPgto::cdsDiaPgtoNRMESFORMPGTSetText);
    BindHandler(table, "cdsDiaPgtoNRDIAPGTOSEMANAGetText", this,
                &TfrmFormPgto::cdsDiaPgtoNRDIAPGTOSEMANAGetText);
    BindHandler(table, "cdsDiaPgtoNRDIAPGTOSEMANASetText", this,
                &TfrmFormPgto::cdsDiaPgtoNRDIAPGTOSEMANASetText);
}

} // namespace ger06700
