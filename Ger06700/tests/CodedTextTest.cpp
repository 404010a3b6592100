// Stored codes and the texts the user sees, both ways, for every coded field of the payment
// term and of the day row, through the real screen. Texts are compared whole and exactly:
// case, accents, "º" and trailing blanks matter.
#include "ScreenFixture.h"

#include "shared/Consiste.h"
#include "ui/DBGrid.h"

namespace {

using plat::Value;

const Value kNull{};
Value T(const char* text) {
    return std::string(text);
}

struct Shown {
    Value stored;
    std::string text;
};
struct Typed {
    Value before;
    std::string text;
    Value stored;
};

std::string Describe(const Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return '"' + *text + '"';
    if (const auto* number = std::get_if<double>(&value)) return std::to_string(*number);
    return "null";
}

class CodedTextTest : public ScreenTest {
protected:
    // A new term to write into, so that a period type set here deletes nothing stored.
    void StartNewTerm(const std::string& periodType) {
        ASSERT_TRUE(IniProc());
        ASSERT_TRUE(Act([&] { Terms().Insert(); }));
        ASSERT_TRUE(Act([&] { Terms().FieldByName("IDTPPERIODO").SetAsString(periodType); }));
    }
    // A day row under a term of the given period type, written in place and never sent.
    void StartDayRow(const std::string& periodType) {
        StartNewTerm(periodType);
        ASSERT_TRUE(Act([&] { Days().Insert(); }));
    }

    static void ExpectShown(plat::TField& field, const std::vector<Shown>& rows) {
        for (const Shown& row : rows) {
            SCOPED_TRACE(field.FieldName() + " = " + Describe(row.stored));
            field.SetValue(row.stored);
            EXPECT_EQ(field.DisplayText(), row.text);
            EXPECT_EQ(field.Text(), row.text); // the same for editing
        }
    }
    static void ExpectStored(plat::TField& field, const std::vector<Typed>& rows) {
        for (const Typed& row : rows) {
            SCOPED_TRACE(field.FieldName() + " <- \"" + row.text + "\"");
            field.SetValue(row.before);
            field.SetText(row.text);
            EXPECT_EQ(field.GetValue(), row.stored);
        }
    }
    // A period type under which the day rows are read, the field's texts under it.
    struct Under {
        std::string periodType;
        std::vector<Shown> shown;
        std::vector<Typed> typed;
    };
    // Under each period type, on the day row started by StartDayRow.
    void ExpectUnder(const char* fieldName, const std::vector<Under>& cases) {
        plat::TField& periodType = Terms().FieldByName("IDTPPERIODO");
        plat::TField& field = Days().FieldByName(fieldName);
        for (const Under& under : cases) {
            SCOPED_TRACE("IDTPPERIODO = \"" + under.periodType + "\"");
            periodType.SetValue(under.periodType);
            ExpectShown(field, under.shown);
            ExpectStored(field, under.typed);
        }
    }
    // Conversions never reach the server.
    void TearDown() override {
        for (const std::string& call : Calls())
            EXPECT_EQ(call.rfind("Set", 0), std::string::npos) << call;
        ScreenTest::TearDown();
    }
};

TEST_F(CodedTextTest, ReferenceDate) {
    ASSERT_NO_FATAL_FAILURE(StartNewTerm("M"));
    plat::TField& field = Terms().FieldByName("IDTIPODTPGTO");
    ExpectShown(field, {
                           {kNull, ""},
                           {T("EMIN"), "Data de Emissão da NF (Inclusive)"},
                           {T("EMEX"), "Data de Emissão da NF (Exclusive)"},
                           {T("ENIN"), "Data de Entrega da Mercadoria (Inclusive)"},
                           {T("ENEX"), "Data de Entrega da Mercadoria (Exclusive)"},
                           {T("DSIN"), "Data de Saída (Inclusive)"},
                           {T("DSEX"), "Data de Saída (Exclusive)"},
                           // Anything else reads as departure, exclusive.
                           {T("emin"), "Data de Saída (Exclusive)"},
                           {T("ABCD"), "Data de Saída (Exclusive)"},
                       });
    ExpectStored(field, {
                            {kNull, "Data de Emissão da NF (Inclusive)", T("EMIN")},
                            {kNull, "Data de Emissão da NF (Exclusive)", T("EMEX")},
                            {kNull, "Data de Entrega da Mercadoria (Inclusive)", T("ENIN")},
                            {kNull, "Data de Entrega da Mercadoria (Exclusive)", T("ENEX")},
                            {kNull, "Data de Saída (Inclusive)", T("DSIN")},
                            {kNull, "Data de Saída (Exclusive)", T("DSEX")},
                            {T("EMIN"), "Data de Emissão da NF (Inclusive) ", T("DSEX")},
                            {T("EMIN"), "", T("DSEX")},
                        });
}

TEST_F(CodedTextTest, ReferenceInterval) {
    ASSERT_NO_FATAL_FAILURE(StartNewTerm("M"));
    plat::TField& field = Terms().FieldByName("IDREFECALCPARC");
    ExpectShown(field, {
                           {kNull, ""},
                           {T("DIA_DE_REFERENCIA"), "Dia de Referência"},
                           {T("FORA_SEMANA"), "Fora Semana"},
                           {T("FORA_DEZENA"), "Fora Dezena"},
                           {T("FORA_QUINZENA"), "Fora Quinzena"},
                           {T("FORA_MES"), "Fora Mês"},
                           {T("fora_mes"), ""},
                       });
    ExpectStored(field, {
                            {kNull, "Dia de Referência", T("DIA_DE_REFERENCIA")},
                            {kNull, "Fora Semana", T("FORA_SEMANA")},
                            {kNull, "Fora Dezena", T("FORA_DEZENA")},
                            {kNull, "Fora Quinzena", T("FORA_QUINZENA")},
                            {kNull, "Fora Mês", T("FORA_MES")},
                            {T("FORA_SEMANA"), "fora mês", T("FORA_SEMANA")},
                            {T("FORA_SEMANA"), "", T("FORA_SEMANA")},
                        });
}

TEST_F(CodedTextTest, BusinessDaysAndEqualInstalmentsFlags) {
    ASSERT_NO_FATAL_FAILURE(StartNewTerm("M"));
    for (const char* name : {"IDCONSDIAUTIL", "IDVRIGUALPARC"}) {
        plat::TField& field = Terms().FieldByName(name);
        // Only "N" is no, both ways.
        ExpectShown(
            field,
            {{kNull, ""}, {T("N"), "Não"}, {T("S"), "Sim"}, {T("X"), "Sim"}, {T("n"), "Sim"}});
        ExpectStored(field, {{kNull, "Não", T("N")},
                             {kNull, "Sim", T("S")},
                             {T("N"), "não", T("S")},
                             {T("N"), "", T("S")}});
    }
}

TEST_F(CodedTextTest, PeriodType) {
    ASSERT_NO_FATAL_FAILURE(StartNewTerm("M"));
    plat::TField& field = Terms().FieldByName("IDTPPERIODO");
    ExpectShown(field, {
                           {kNull, ""},
                           {T("M"), "Por dia do mês"},
                           {T("S"), "Por dia da semana"},
                           {T("A"), "Por dia da semana\\Mês"},
                           {T("m"), ""},
                           {T("X"), ""},
                       });
    ExpectStored(field, {
                            {T("S"), "Por dia do mês", T("M")},
                            {T("M"), "Por dia da semana", T("S")},
                            {T("M"), "Por dia da semana\\Mês", T("A")},
                            {T("S"), "Por dia do mes", T("S")},
                            {T("S"), "Por dia da semana/Mês", T("S")},
                            {T("S"), "", T("S")},
                        });
}

TEST_F(CodedTextTest, DescriptionClearedInTheGridKeepsTheFormerOne) {
    ASSERT_TRUE(IniProc());
    plat::TfrmPadraoGrid& form = Form();
    plat::TField& field = Terms().FieldByName("NMFORMPGTO");
    struct Case {
        std::string typed;
        std::string stored;
    };
    const Case cases[] = {{"", "À vista"}, {"   ", "À vista"}, {"  Pix  ", "  Pix  "}};
    for (const Case& c : cases) {
        SCOPED_TRACE('"' + c.typed + '"');
        ASSERT_TRUE(Act([&] {
            form.dbgPadrao.SetSelectedIndex(plat::IndiceCol(form.dbgPadrao, "NMFORMPGTO"));
            form.TypeText("x");
            form.PressKey(plat::VK_BACK, {});
            form.TypeText(c.typed);
            form.PressKey(plat::VK_RETURN, {});
        }));
        EXPECT_EQ(field.AsString(), c.stored);
        ASSERT_TRUE(Act([&] { Terms().Cancel(); }));
    }
}

TEST_F(CodedTextTest, PeriodDays) {
    ASSERT_NO_FATAL_FAILURE(StartDayRow("M"));
    const std::vector<Under> cases = {
        {"S",
         {{kNull, ""},
          {T("01"), "Domingo"},
          {T("03"), "Terça"},
          {T("07"), "Sábado"},
          {T("1"), ""},
          {T("08"), ""},
          {T("00"), ""}},
         {{kNull, "Domingo", T("01")},
          {kNull, "Quarta", T("04")},
          {kNull, "Sábado", T("07")},
          {T("02"), "Sabado", T("02")},
          {T("02"), "sábado", T("02")},
          {T("02"), "5", T("02")}}},
        {"M", {{T("05"), "05"}, {T("5"), "5"}}, {{kNull, "5", T("5")}}},
        {"A", {{T("31"), "31"}}, {{kNull, "12", T("12")}}},
        {"", {{T("03"), "03"}}, {{T("03"), "12", T("03")}}},
    };
    ExpectUnder("NRDIAINIPGTO", cases);
    ExpectUnder("NRDIAFINPGTO", cases);
}

TEST_F(CodedTextTest, PaymentDay) {
    ASSERT_NO_FATAL_FAILURE(StartDayRow("M"));
    ExpectUnder(
        "NRDIAPGTOVAR",
        {
            {"S",
             {{kNull, ""}, {T("06"), "Sexta"}, {T("08"), ""}},
             {{kNull, "Sexta", T("06")}, {T("06"), "sexta", T("06")}}},
            {"A", {{T("02"), "Segunda"}}, {{kNull, "Domingo", T("01")}, {T("01"), "7", T("01")}}},
            {"M", {{T("10"), "10"}}, {{kNull, "7", T("7")}}},
            {"", {{T("10"), "10"}}, {{kNull, "7", T("7")}}},
        });
}

TEST_F(CodedTextTest, MonthOrWeekOfPayment) {
    ASSERT_NO_FATAL_FAILURE(StartDayRow("M"));
    std::vector<Shown> laterMonths{{kNull, ""}, {0.0, ""}, {11.0, ""}, {1.5, ""}};
    std::vector<Typed> pickedMonths{{0.0, "1º Mes Posterior", 0.0}, {0.0, "Seguinte", 0.0}};
    for (int month = 1; month <= 10; ++month) {
        const std::string text = std::to_string(month) + "º Mês Posterior";
        laterMonths.push_back({double(month), text});
        pickedMonths.push_back({kNull, text, double(month)});
    }
    const std::vector<Shown> currentOrNext{
        {kNull, ""}, {0.0, "Atual"}, {1.0, "Seguinte"}, {2.0, "Seguinte"}};
    const std::vector<Typed> pickedCurrentOrNext{{kNull, "Atual", 0.0},
                                                 {kNull, "Seguinte", 1.0},
                                                 {1.0, "atual", 1.0},
                                                 {1.0, "1º Mês Posterior", 1.0}};
    ExpectUnder("NRMESFORMPGT", {
                                    {"M", currentOrNext, pickedCurrentOrNext},
                                    {"S", currentOrNext, pickedCurrentOrNext},
                                    {"A", laterMonths, pickedMonths},
                                    {"", laterMonths, pickedMonths},
                                });
}

TEST_F(CodedTextTest, WeekdayOfAMonthlyPayment) {
    ASSERT_NO_FATAL_FAILURE(StartDayRow("M"));
    ExpectUnder(
        "NRDIAPGTOSEMANA",
        {
            {"M",
             {{kNull, ""}, {T("00"), ""}, {T("06"), "Sexta"}},
             {{kNull, "Domingo", T("01")}, {T("06"), "", T("00")}, {T("06"), "Feriado", T("00")}}},
            {"S", {{T("06"), "06"}}, {{T("06"), "Domingo", T("06")}}},
            {"A", {{T("00"), "00"}}, {{kNull, "", kNull}}},
        });
}

} // namespace
