// Stored codes and the texts the user sees, both ways, for every coded field of the payment
// term and of the day row, through the real screen. Texts are compared whole and exactly:
// case, accents, "º" and trailing blanks matter.
#include "ScreenFixture.h"

#include "ui/DBGrid.h"

namespace {

using plat::Value;

const Value kNull{};
Value T(const char* text) {
    return std::string(text);
}
std::vector<Value> Codes(std::initializer_list<const char*> codes) {
    std::vector<Value> values;
    for (const char* code : codes)
        values.push_back(T(code));
    return values;
}

std::string Describe(const Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return '"' + *text + '"';
    if (const auto* number = std::get_if<double>(&value)) return std::to_string(*number);
    return "null";
}

class CodedTextTest : public ScreenTest {
protected:
    // A new term with a new day row to write into, never sent: a period type set here deletes
    // nothing stored.
    void StartDayRow() {
        ASSERT_TRUE(Act([&] { Terms().Insert(); }));
        ASSERT_TRUE(Act([&] { Terms().FieldByName("IDTPPERIODO").SetAsString("M"); }));
        ASSERT_TRUE(Act([&] { Days().Insert(); }));
    }
    /// The field of the term or, failing that, of the day row, read under periodType.
    plat::TField& Under(const std::string& periodType, const std::string& name) {
        Terms().FieldByName("IDTPPERIODO").SetValue(periodType);
        plat::TField* field = Terms().FindField(name);
        return field ? *field : Days().FieldByName(name);
    }
};

const std::vector<Value> kWeekdays = Codes({"01", "02", "03", "04", "05", "06", "07"});
const std::vector<Value> kCurrentOrNext{0.0, 1.0};
const std::vector<Value> kLaterMonths{1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0, 10.0};

// Each code of a field, in the order of its grid column's pick list, shows as that entry, for
// display and for editing, and typing the entry stores the code. The PeriodType and the month
// grid's month, each code shown and each entry picked, are in the open-screen, day-grids,
// day-rows, typical-request and period-type-change sessions.
TEST_F(CodedTextTest, EveryCodeShowsAsItsPickListEntryAndBack) {
    const struct {
        const char* periodType;
        const char* grid;
        const char* field;
        std::vector<Value> codes;
    } lists[] = {
        {"M", "dbgPadrao", "IDTIPODTPGTO", Codes({"EMIN", "EMEX", "ENIN", "ENEX", "DSIN", "DSEX"})},
        {"M", "dbgPadrao", "IDREFECALCPARC",
         Codes({"DIA_DE_REFERENCIA", "FORA_SEMANA", "FORA_DEZENA", "FORA_QUINZENA", "FORA_MES"})},
        {"M", "dbgPadrao", "IDCONSDIAUTIL", Codes({"S", "N"})},
        {"M", "dbgPadrao", "IDVRIGUALPARC", Codes({"S", "N"})},
        {"M", "dbgDiaPgto", "NRDIAPGTOSEMANA",
         Codes({"00", "01", "02", "03", "04", "05", "06", "07"})},
        {"S", "dbgDiaSemana", "NRDIAINIPGTO", kWeekdays},
        {"S", "dbgDiaSemana", "NRDIAFINPGTO", kWeekdays},
        {"S", "dbgDiaSemana", "NRMESFORMPGT", kCurrentOrNext},
        {"S", "dbgDiaSemana", "NRDIAPGTOVAR", kWeekdays},
        {"A", "dbgSemanaMes", "NRMESFORMPGT", kLaterMonths},
        {"A", "dbgSemanaMes", "NRDIAPGTOVAR", kWeekdays},
        {"", "dbgSemanaMes", "NRMESFORMPGT", kLaterMonths},
    };
    ASSERT_TRUE(IniProc());
    ASSERT_NO_FATAL_FAILURE(StartDayRow());
    for (const auto& list : lists) {
        SCOPED_TRACE(std::string(list.field) + " under \"" + list.periodType + "\"");
        auto& grid = Grid(list.grid);
        const Texts& entries = grid.Column(plat::IndiceCol(grid, list.field)).PickList;
        ASSERT_EQ(entries.size(), list.codes.size());
        plat::TField& field = Under(list.periodType, list.field);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            field.SetValue(list.codes[i]);
            EXPECT_EQ(field.DisplayText(), entries[i]) << Describe(list.codes[i]);
            EXPECT_EQ(field.Text(), entries[i]) << Describe(list.codes[i]);
            field.SetValue(kNull);
            field.SetText(entries[i]);
            EXPECT_EQ(field.GetValue(), list.codes[i]) << entries[i];
        }
    }
}

// Codes no list holds, texts that are no entry, and the fields that show their code as it is
// under the other period types (two-digit days of the month grid and of the week-of-month
// grid's period: the day-grids session; the month grid's empty cells: typical-request).
TEST_F(CodedTextTest, OtherCodesAndTexts) {
    const char* const ALL = "*"; // the same under every period type
    const char* const DSEX = "Data de Saída (Exclusive)";
    // clang-format off
    const struct {
        const char* periodType;
        const char* field;
        Value stored;
        std::string text;
    } shown[] = {
        {ALL, "IDTIPODTPGTO", kNull, ""},
        {ALL, "IDTIPODTPGTO", T("emin"), DSEX},
        {ALL, "IDREFECALCPARC", kNull, ""},
        {ALL, "IDREFECALCPARC", T("fora_mes"), ""},
        {ALL, "IDCONSDIAUTIL", kNull, ""},
        {ALL, "IDCONSDIAUTIL", T("n"), "Sim"},
        {ALL, "IDTPPERIODO", kNull, ""},
        {ALL, "IDTPPERIODO", T("m"), ""},
        {"S", "NRDIAINIPGTO", kNull, ""},
        {"S", "NRDIAINIPGTO", T("1"), ""},
        {"S", "NRDIAINIPGTO", T("08"), ""},
        {"S", "NRDIAFINPGTO", T("00"), ""},
        {"M", "NRDIAFINPGTO", T("5"), "5"},
        {"", "NRDIAINIPGTO", T("03"), "03"},
        {"S", "NRDIAPGTOVAR", kNull, ""},
        {"S", "NRDIAPGTOVAR", T("08"), ""},
        {"", "NRDIAPGTOVAR", T("10"), "10"},
        {"S", "NRMESFORMPGT", 2.0, "Seguinte"},
        {"A", "NRMESFORMPGT", kNull, ""},
        {"A", "NRMESFORMPGT", 0.0, ""},
        {"", "NRMESFORMPGT", 11.0, ""},
        {"A", "NRMESFORMPGT", 1.5, ""},
        {"S", "NRDIAPGTOSEMANA", T("06"), "06"},
        {"A", "NRDIAPGTOSEMANA", T("00"), "00"},
    };
    // clang-format on
    const struct {
        const char* periodType;
        const char* field;
        Value before;
        std::string text;
        Value stored;
    } typed[] = {
        {ALL, "IDTIPODTPGTO", T("EMIN"), "Data de Emissão da NF (Inclusive) ", T("DSEX")},
        {ALL, "IDTIPODTPGTO", T("EMIN"), "", T("DSEX")},
        {ALL, "IDREFECALCPARC", T("FORA_SEMANA"), "fora mês", T("FORA_SEMANA")},
        {ALL, "IDREFECALCPARC", T("FORA_SEMANA"), "", T("FORA_SEMANA")},
        {ALL, "IDCONSDIAUTIL", T("N"), "não", T("S")},
        {ALL, "IDVRIGUALPARC", T("N"), "", T("S")},
        {ALL, "IDTPPERIODO", T("S"), "Por dia da semana/Mês", T("S")},
        {ALL, "IDTPPERIODO", T("S"), "", T("S")},
        {"S", "NRDIAINIPGTO", T("02"), "Sabado", T("02")},
        {"S", "NRDIAFINPGTO", T("02"), "sábado", T("02")},
        {"S", "NRDIAINIPGTO", T("02"), "5", T("02")},
        {"M", "NRDIAFINPGTO", kNull, "5", T("5")},
        {"A", "NRDIAINIPGTO", kNull, "12", T("12")},
        {"", "NRDIAFINPGTO", T("03"), "12", T("03")},
        {"S", "NRDIAPGTOVAR", T("06"), "sexta", T("06")},
        {"A", "NRDIAPGTOVAR", T("01"), "7", T("01")},
        {"M", "NRDIAPGTOVAR", kNull, "7", T("7")},
        {"", "NRDIAPGTOVAR", kNull, "7", T("7")},
        {"M", "NRMESFORMPGT", 1.0, "atual", 1.0},
        {"S", "NRMESFORMPGT", 1.0, "1º Mês Posterior", 1.0},
        {"A", "NRMESFORMPGT", 0.0, "1º Mes Posterior", 0.0},
        {"", "NRMESFORMPGT", 0.0, "Seguinte", 0.0},
        {"M", "NRDIAPGTOSEMANA", T("06"), "Feriado", T("00")},
        {"S", "NRDIAPGTOSEMANA", T("06"), "Domingo", T("06")},
        {"A", "NRDIAPGTOSEMANA", kNull, "", kNull},
    };
    ASSERT_TRUE(IniProc());
    ASSERT_NO_FATAL_FAILURE(StartDayRow());
    const auto typesOf = [ALL](const char* periodType) {
        return periodType == ALL ? Texts{"M", "S", "A", ""} : Texts{periodType};
    };
    for (const auto& c : shown) {
        for (const std::string& periodType : typesOf(c.periodType)) {
            SCOPED_TRACE(std::string(c.field) + " = " + Describe(c.stored) + " under \"" +
                         periodType + "\"");
            plat::TField& field = Under(periodType, c.field);
            field.SetValue(c.stored);
            EXPECT_EQ(field.DisplayText(), c.text);
            EXPECT_EQ(field.Text(), c.text);
        }
    }
    for (const auto& c : typed) {
        for (const std::string& periodType : typesOf(c.periodType)) {
            SCOPED_TRACE(std::string(c.field) + " <- \"" + c.text + "\" under \"" + periodType +
                         "\"");
            plat::TField& field = Under(periodType, c.field);
            field.SetValue(c.before);
            field.SetText(c.text);
            EXPECT_EQ(field.GetValue(), c.stored);
        }
    }
}

TEST_F(CodedTextTest, DescriptionClearedInTheGridKeepsTheFormerOne) {
    ASSERT_TRUE(IniProc());
    const std::pair<std::string, std::string> cases[] = {
        {"", "À vista"}, {"   ", "À vista"}, {"  Pix  ", "  Pix  "}};
    for (const auto& [typed, stored] : cases) {
        SCOPED_TRACE('"' + typed + '"');
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
}

} // namespace
