// Stored codes and the texts the user sees, both ways, compared whole and exactly (case, accents,
// "º", trailing blanks). Each code of the lists shown as its text, and entries picked and stored
// as their codes: the open-screen, move-in-list, day-grids, day-rows, typical-request and
// period-type-change sessions.
#include "ScreenFixture.h"

namespace {

using plat::Value;

const Value kNull{};
Value T(const char* text) {
    return std::string(text);
}

TEST_F(ScreenTest, ADescriptionClearedAndCodesAndTextsOutsideTheLists) {
    // Codes no list holds and the fields that show their code as it is, then texts that are
    // no entry and the fields that store a typed text as it is (typed null: none).
    // clang-format off
    const struct {
        const char* periodType;
        const char* field;
        Value stored;
        std::string shown;
        const char* typed;
        Value after;
    } others[] = {
        {"M", "IDTIPODTPGTO", kNull, "", "", T("DSEX")},
        {"M", "IDTIPODTPGTO", T("emin"), "Data de Saída (Exclusive)",
         "Data de Emissão da NF (Inclusive) ", T("DSEX")},
        {"M", "IDREFECALCPARC", T("fora_mes"), "", "fora mês", T("fora_mes")},
        {"M", "IDCONSDIAUTIL", kNull, "", "", T("S")},
        {"M", "IDCONSDIAUTIL", T("n"), "Sim", "não", T("S")},
        {"M", "IDTPPERIODO", kNull, "", nullptr, kNull},
        {"M", "IDTPPERIODO", T("m"), "", "Por dia da semana/Mês", T("m")},
        {"S", "NRDIAINIPGTO", T("1"), "", "Sabado", T("1")},
        {"S", "NRDIAINIPGTO", T("08"), "", nullptr, kNull},
        {"S", "NRDIAFINPGTO", T("00"), "", nullptr, kNull},
        {"", "NRDIAFINPGTO", T("03"), "03", "12", T("03")},
        {"", "NRDIAPGTOVAR", T("10"), "10", "7", T("7")},
        {"S", "NRMESFORMPGT", 2.0, "Seguinte", "atual", 2.0},
        {"A", "NRMESFORMPGT", 0.0, "", nullptr, kNull},
        {"A", "NRMESFORMPGT", 1.5, "", nullptr, kNull},
        {"", "NRMESFORMPGT", 11.0, "", "Seguinte", 11.0},
        {"S", "NRDIAPGTOSEMANA", T("06"), "06", "Domingo", T("06")},
        {"M", "NRDIAPGTOSEMANA", T("06"), "Sexta", "Feriado", T("00")},
        {"M", "NRDIAPGTOSEMANA", T("00"), "", "Quinta", T("05")},
    };
    // clang-format on
    ASSERT_TRUE(IniProc());
    // A description cleared in the grid keeps the former one; blanks around one stay.
    for (const auto& [typed, stored] :
         {std::pair{"   ", "À vista"}, std::pair{"  Pix  ", "  Pix  "}}) {
        Select("dbgPadrao", "NMFORMPGTO");
        ASSERT_TRUE(Act([&] {
            Form().TypeText("x");
            Form().PressKey(plat::VK_BACK, {});
            Form().TypeText(typed);
            Form().PressKey(plat::VK_RETURN, {});
        }));
        EXPECT_EQ(Terms().FieldByName("NMFORMPGTO").AsString(), stored);
        ASSERT_TRUE(Act([&] { Terms().Cancel(); }));
    }
    // A new term with a new day row to write into, never sent: a period type set here deletes
    // nothing stored.
    ASSERT_TRUE(Act([&] { Terms().Insert(); }));
    ASSERT_TRUE(Act([&] { Days().Insert(); }));
    // The field of the term or, failing that, of the day row, read under periodType.
    const auto Under = [&](const std::string& periodType, const std::string& name) -> auto& {
        Terms().FieldByName("IDTPPERIODO").SetValue(periodType);
        plat::TField* field = Terms().FindField(name);
        return field ? *field : Days().FieldByName(name);
    };
    for (const auto& c : others) {
        SCOPED_TRACE("row " + std::to_string(&c - others + 1));
        plat::TField& field = Under(c.periodType, c.field);
        field.SetValue(c.stored);
        EXPECT_EQ(field.DisplayText(), c.shown);
        EXPECT_EQ(field.Text(), c.shown);
        if (!c.typed) continue;
        field.SetText(c.typed);
        EXPECT_EQ(field.GetValue(), c.after);
    }
}

} // namespace
