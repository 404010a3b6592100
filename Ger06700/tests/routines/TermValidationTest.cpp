// The checks of a payment term, called as the post, the confirm command and the grid moves
// call them, on a new term or on a stored one being edited.
#include "RoutineFixture.h"

namespace {

using Texts = std::vector<std::string>;
using Routine = void (ger06700::TfrmFormPgto::*)(bool);
using ger06700::TfrmFormPgto;

constexpr Routine CodForm = &TfrmFormPgto::Vd_CodForm;
constexpr Routine Periodo = &TfrmFormPgto::Vd_Periodo;

struct TermCase {
    const char* name;
    const char* edited; // code of the stored term being edited; null: a new term
    const char* blank;  // field left without a value; null: none
    const char* column; // master-grid column selected, and typed into when typed is set
    const char* typed;
    Routine routine;
    bool obrigatorio;
    bool passes;
    const char* error;  // message shown; empty: none
    const char* after;  // master-grid column selected afterwards
    bool focused;       // the master grid took the focus
    Texts calls;        // server calls the check made
    const char* stored; // what the field of the column holds afterwards; null: not checked
};

const char* const CD = "CDFORMPGTO";
const char* const NM = "NMFORMPGTO";
const char* const TP = "IDTPPERIODO";

// clang-format off
const TermCase kTermCases[] = {
    {"blank code, leaving", nullptr, CD, NM, nullptr, CodForm, false, true, "", NM, false, {}, nullptr},
    {"blank code, storing", nullptr, CD, NM, nullptr, CodForm, true, false,
     "Código deve ser informado.", CD, true, {}, nullptr},
    {"one digit padded, stored already", nullptr, nullptr, CD, "7", CodForm, false, false,
     "Forma de pagamento já cadastrada.", CD, true, {"GetVerCdForm(07)"}, "07"},
    {"a new code", nullptr, nullptr, CD, "8", CodForm, true, true, "", CD, false,
     {"GetVerCdForm(08)"}, "08"},
    {"stored by another user a moment ago", nullptr, nullptr, CD, "30", CodForm, false, false,
     "Forma de pagamento já cadastrada.", CD, true, {"GetVerCdForm(30)"}, "30"},
    {"blank description, leaving", nullptr, NM, NM, nullptr, &TfrmFormPgto::Vd_DescForm, false,
     true, "", NM, false, {}, nullptr},
    {"blank description", nullptr, NM, CD, nullptr, &TfrmFormPgto::Vd_DescForm, true, false,
     "Descrição deve ser informada.", NM, true, {}, nullptr},
    {"blank reference date", nullptr, "IDTIPODTPGTO", CD, nullptr, &TfrmFormPgto::Vd_DataBase,
     true, false, "Data referência deve ser informada.", "IDTIPODTPGTO", true, {}, nullptr},
    {"blank interval", "01", "IDREFECALCPARC", CD, nullptr, &TfrmFormPgto::Vd_DtReferencia, true,
     false, "Intervalo data referência deve ser informado.", "IDREFECALCPARC", true, {}, nullptr},
    {"blank business-days flag", nullptr, "IDCONSDIAUTIL", CD, nullptr,
     &TfrmFormPgto::Vd_ConsideraDiasUteis, true, false,
     "Considerar Dias úteis deve ser informado.", "IDCONSDIAUTIL", true, {}, nullptr},
    {"filled flag", "01", nullptr, NM, nullptr, &TfrmFormPgto::Vd_ConsideraDiasUteis, true, true,
     "", NM, false, {}, nullptr},
    {"blank PeriodType", nullptr, TP, NM, nullptr, Periodo, true, false,
     "Período deve ser informado.", TP, true, {}, nullptr},
    {"a picked PeriodType text", "31", nullptr, TP, "P", Periodo, true, true, "", TP, false, {}, "M"},
    {"a typed code letter", "31", nullptr, TP, "s", Periodo, true, true, "", TP, false, {}, "S"},
    {"the letter it had already", "31", nullptr, TP, "m", Periodo, false, false, "", TP, false, {},
     "M"},
};
// clang-format on

TEST_F(RoutineTest, EachTermCheckReportsItsFieldAndPointsTheMasterGridAtIt) {
    WriteTerm("31", "Sem dias", std::string("M"));
    ASSERT_TRUE(IniProc());
    WriteTerm("30", "De outro usuário", std::string("S"));
    TfrmFormPgto& screen = Screen();
    plat::TDBGrid& master = screen.dbgPadrao;
    for (const TermCase& c : kTermCases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Act([&] {
            if (c.edited) {
                ASSERT_TRUE(Terms().Locate("CDFORMPGTO", c.edited, false));
                Terms().Edit();
            } else {
                Terms().Insert();
                for (const auto& [field, value] :
                     std::map<std::string, std::string>{{"NMFORMPGTO", "Nova"},
                                                        {"IDTIPODTPGTO", "EMIN"},
                                                        {"IDREFECALCPARC", "FORA_MES"},
                                                        {"IDTPPERIODO", "M"},
                                                        {"IDCONSDIAUTIL", "N"},
                                                        {"IDVRIGUALPARC", "S"}})
                    Terms().FieldByName(field).SetAsString(value);
            }
            if (c.blank) Terms().FieldByName(c.blank).Clear();
            Select(master, c.column);
            if (c.typed) Type(master, c.typed);
            Form().RequestFocus(ViewGrid());
        }));
        ClearLog();
        EXPECT_EQ(Act([&] { (screen.*c.routine)(c.obrigatorio); }), c.passes);
        EXPECT_EQ(Shown(), c.error);
        EXPECT_EQ(SelectedField(master), c.after);
        EXPECT_EQ(Form().ActiveControl() == &master, c.focused);
        EXPECT_EQ(Calls(), c.calls);
        if (c.stored) {
            EXPECT_EQ(Terms().FieldByName(c.column).AsString(), c.stored);
        }
        // A check undoes nothing: the term stays in editing with what was typed.
        EXPECT_EQ(Terms().State(),
                  c.edited ? plat::TDataSetState::Edit : plat::TDataSetState::Insert);
        ASSERT_TRUE(Act([&] { Terms().Cancel(); }));
    }
}

} // namespace
