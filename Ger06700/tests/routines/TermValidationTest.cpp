// The checks of a payment term, called as the post, the confirm command and the grid moves
// call them, on a new term or on a stored one being edited.
#include "RoutineFixture.h"

#include <map>

namespace {

using Routine = void (ger06700::TfrmFormPgto::*)(bool);
using ger06700::TfrmFormPgto;

constexpr Routine CodForm = &TfrmFormPgto::Vd_CodForm;
constexpr Routine DescForm = &TfrmFormPgto::Vd_DescForm;
constexpr Routine Periodo = &TfrmFormPgto::Vd_Periodo;
constexpr Routine DiasUteis = &TfrmFormPgto::Vd_ConsideraDiasUteis;

struct TermCase {
    const char* edited; // code of the stored term being edited; null: a new term
    const char* blank;  // field left without a value; null: none
    const char* column; // master-grid column selected, and typed into when typed is set
    const char* typed;
    Routine routine;
    bool obrigatorio;
    bool passes;
    const char* error;   // catalogue key of the message shown; empty: none
    const char* after;   // master-grid column selected afterwards, and the focus taken
    const char* checked; // the code the server was asked about; null: no call
    const char* stored;  // what the field of the column holds afterwards; null: not checked
};

const char* const CD = "CDFORMPGTO";
const char* const NM = "NMFORMPGTO";
const char* const TP = "IDTPPERIODO";
const char* const UT = "IDCONSDIAUTIL";

// clang-format off
const TermCase kTermCases[] = {
    // The code: required when storing, padded to two digits, unknown to the server (a new
    // code passing when the term is stored: the typical-request session).
    {nullptr, CD, NM, nullptr, CodForm, false, true, "", NM, nullptr, nullptr},
    {nullptr, CD, NM, nullptr, CodForm, true, false, "Cod_inf", CD, nullptr, nullptr},
    {nullptr, nullptr, CD, "7", CodForm, false, false, "Cod_cad", CD, "07", "07"},
    {nullptr, nullptr, CD, "30", CodForm, false, false, "Cod_cad", CD, "30", "30"},  // new on the server
    // The other fields a term needs before it is stored.
    {nullptr, NM, NM, nullptr, DescForm, false, true, "", NM, nullptr, nullptr},
    {nullptr, NM, CD, nullptr, DescForm, true, false, "Desc_inf", NM, nullptr, nullptr},
    {nullptr, "IDTIPODTPGTO", CD, nullptr, &TfrmFormPgto::Vd_DataBase, true, false,
     "DataBase_inf", "IDTIPODTPGTO", nullptr, nullptr},
    {"01", "IDREFECALCPARC", CD, nullptr, &TfrmFormPgto::Vd_DtReferencia, true, false, "Ref_Inf",
     "IDREFECALCPARC", nullptr, nullptr},
    {nullptr, UT, CD, nullptr, DiasUteis, true, false, "DiaUtil_Inf", UT, nullptr, nullptr},
    {"01", nullptr, NM, nullptr, DiasUteis, true, true, "", NM, nullptr, nullptr},
    // The PeriodType: a picked text or a typed code letter is stored when the check runs.
    {nullptr, TP, NM, nullptr, Periodo, true, false, "Period_inf", TP, nullptr, nullptr},
    {"31", nullptr, TP, "P", Periodo, true, true, "", TP, nullptr, "M"},
    {"31", nullptr, TP, "s", Periodo, true, true, "", TP, nullptr, "S"},
    {"31", nullptr, TP, "m", Periodo, false, false, "", TP, nullptr, "M"},  // the letter it had
};
// clang-format on

TEST_F(RoutineTest, EachTermCheckReportsItsFieldAndPointsTheMasterGridAtIt) {
    WriteTerm("31", "Sem dias", std::string("M"));
    ASSERT_TRUE(IniProc());
    WriteTerm("30", "De outro usuário", std::string("S"));
    TfrmFormPgto& screen = Screen();
    plat::TDBGrid& master = screen.dbgPadrao;
    const std::map<std::string, std::string> aNewTerm{
        {"NMFORMPGTO", "Nova"}, {"IDTIPODTPGTO", "EMIN"}, {"IDREFECALCPARC", "FORA_MES"},
        {"IDTPPERIODO", "M"},   {"IDCONSDIAUTIL", "N"},   {"IDVRIGUALPARC", "S"}};
    for (const TermCase& c : kTermCases) {
        SCOPED_TRACE("case " + std::to_string(&c - kTermCases + 1));
        ASSERT_TRUE(Act([&] {
            if (c.edited) {
                ASSERT_TRUE(Terms().Locate("CDFORMPGTO", c.edited, false));
                Terms().Edit();
            } else {
                Terms().Insert();
                for (const auto& [field, value] : aNewTerm)
                    Terms().FieldByName(field).SetAsString(value);
            }
            if (c.blank) Terms().FieldByName(c.blank).Clear();
            Select(master, c.column);
            if (c.typed) Type(master, c.typed);
            Form().RequestFocus(ViewGrid());
        }));
        ClearLog();
        EXPECT_EQ(Act([&] { (screen.*c.routine)(c.obrigatorio); }), c.passes);
        EXPECT_EQ(Shown(), Msg(c.error));
        EXPECT_EQ(Column(master), c.after);
        EXPECT_EQ(Form().ActiveControl() == &master, *c.error != '\0');
        EXPECT_EQ(Calls(),
                  c.checked ? Texts{"GetVerCdForm(" + std::string(c.checked) + ")"} : Texts{});
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
