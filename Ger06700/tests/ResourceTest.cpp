// The form as its resource description builds it: frame, components, fields and grid columns.
#include "ScreenFixture.h"

#include "net/NetConnection.h"

namespace {

struct ExpectedField {
    const char* field;
    int size; // 0: a floating-point field
    const char* label;
    const char* mask;
    int tag;
};

const std::pair<const char*, std::vector<ExpectedField>> kDataSets[] = {
    {"cdsFormPgto",
     {{"CDFORMPGTO", 2, "Código", "", 1},
      {"NMFORMPGTO", 30, "Descrição", "", 0},
      {"IDTIPODTPGTO", 4, "Data Referência", ">l;0; ", 0},
      {"IDREFECALCPARC", 30, "Intervalo Data Referência", "", 0},
      {"IDTPPERIODO", 1, "Período", "", 0},
      {"IDCONSDIAUTIL", 1, "Considerar Dias Úteis", "", 0},
      {"IDVRIGUALPARC", 1, "Parcelas com Valor Igual", "", 0}}},
    {"cdsDiaPgto",
     {{"CDFORMPGTO", 2, "CDFORMPGTO", "", 0},
      {"NRDIAINIPGTO", 2, "Dia Inicial do Período", "", 0},
      {"NRDIAFINPGTO", 2, "Dia Final do Período", "99;0; ", 0},
      {"NRDIAPGTOVAR", 2, "Dia de Pagamento", "99;0; ", 0},
      {"NRMESFORMPGT", 0, "Mês de Pagamento", "", 0},
      {"NRNUMMESPGTO", 0, "Número de Meses", "", 0},
      {"NRDIAPGTOSEMANA", 2, "Dia Semana", "", 0}}},
    {"cdsVerCodForm", {{"CDFORMPGTO", 2, "CDFORMPGTO", "", 0}}},
    {"cdsPeriodo",
     {{"NRDIAINIPGTO", 2, "NRDIAINIPGTO", "", 0}, {"NRDIAFINPGTO", 2, "NRDIAFINPGTO", "", 0}}},
};

TEST_F(ScreenTest, TheFormFrameIsAsDescribed) {
    ASSERT_TRUE(IniProc());
    plat::TfrmPadraoGrid& form = Form();
    const std::pair<std::string, std::string> facts[] = {
        {form.Caption(), "Forma de Pagamento"},
        {std::to_string(form.Left) + "," + std::to_string(form.Top) + "," +
             std::to_string(form.Width) + "," + std::to_string(form.Height),
         "400,152,1049,347"},
        {std::to_string(form.HelpContext), "12406700"},
        {form.HelpFile, "GerHelp.hlp"},
        {form.lblCodTela.Caption(), "GER06700"},
        {form.tshPadrao.Caption(), "Forma de Pagamento"},
        {form.dbtNome.DataField, "NMFORMPGTO"},
        {Part<plat::TNetConnection>("netFormPgto").ServerName, "Ger06700.rdmFormPgto"},
        {Part<plat::TPanel>("panDivisao").BevelOuter, "lowered"},
    };
    for (const auto& [actual, expected] : facts)
        EXPECT_EQ(actual, expected);
    EXPECT_EQ(form.FormStyle, plat::TFormStyle::MDIChild);
    EXPECT_FALSE(Part<plat::TNetConnection>("netFormPgto").ThrowException);
    EXPECT_EQ(Part<plat::TSplitter>("splDivisao").Height, 3);
    EXPECT_EQ(Part<plat::TPanel>("panDivisao").Height, 8);

    // Printing is off (its button and list entry are also refused in the faults session).
    EXPECT_FALSE(form.mnuConfigImpressora.Enabled());

    // The notebook's pages, each holding its grid, below the master grid in the scroll box.
    auto& notebook = Part<plat::TNotebook>("nbkDiasPgto");
    EXPECT_EQ(notebook.Parent(), &form.scbFolhaDados);
    const std::pair<const char*, const char*> pages[] = {
        {"Mes", "dbgDiaPgto"}, {"Semana", "dbgDiaSemana"}, {"Semana\\Mes", "dbgSemanaMes"}};
    ASSERT_EQ(notebook.PageCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(notebook.Page(i).Caption(), pages[i].first);
        EXPECT_EQ(Part<plat::TDBGrid>(pages[i].second).Parent(), &notebook.Page(i));
    }
}

TEST_F(ScreenTest, TheDataSetsCarryTheirFieldsAndTheGridsTheirColumns) {
    ASSERT_TRUE(IniProc());
    EXPECT_EQ(Form().dtsPadrao.DataSet(), &Terms());
    EXPECT_EQ(Part<plat::TDataSource>("dtsDiaPgto").DataSet(), &Days());
    EXPECT_EQ(Part<plat::TDataSource>("dtsPeriodo").DataSet(),
              &Part<plat::TClientDataSet>("cdsPeriodo"));

    for (const auto& [name, fields] : kDataSets) {
        const auto& dataSet = Part<plat::TClientDataSet>(name);
        ASSERT_EQ(dataSet.Fields().size(), fields.size()) << name;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const ExpectedField& want = fields[i];
            const plat::TField& field = *dataSet.Fields()[i];
            SCOPED_TRACE(std::string(name) + "." + want.field);
            EXPECT_EQ(field.FieldName(), want.field);
            EXPECT_EQ(field.DataType(),
                      want.size ? plat::TFieldType::String : plat::TFieldType::Float);
            EXPECT_EQ(field.Size(), want.size ? want.size : field.Size());
            EXPECT_EQ(field.DisplayLabel(), want.label);
            EXPECT_EQ(field.EditMask(), want.mask);
            EXPECT_EQ(field.Tag, want.tag);
        }
    }
    EXPECT_EQ(Days().FieldByName("NRMESFORMPGT").Precision, 2);

    // The pick lists hold the catalogue's texts for the codes (the period types excepted).
    const auto texts = [&](std::initializer_list<std::string> keys) {
        Texts list;
        for (const std::string& key : keys)
            list.push_back(Msg(key));
        return list;
    };
    const Texts weekdays = texts({"1", "2", "3", "4", "5", "6", "7"});
    const Texts currentOrNext = texts({"Atual", "Seguinte"});
    const Texts yesNo = texts({"Cons_Sim", "Cons_Nao"});
    Texts weekdayOrNone = weekdays, laterMonths;
    weekdayOrNone.insert(weekdayOrNone.begin(), "");
    for (int month = 1; month <= 10; ++month)
        laterMonths.push_back(Msg(std::to_string(month) + "MesPost"));
    struct Column {
        const char* field;
        int width; // 0: the default
        const char* title;
        Texts pickList;
        bool dropDown;
    };
    // clang-format off
    const std::pair<const char*, std::vector<Column>> grids[] = {
        {"dbgPadrao",
         {{"CDFORMPGTO", 0, "Código", {}, false},
          {"NMFORMPGTO", 188, "Descrição", {}, false},
          {"IDTIPODTPGTO", 222, "Data Referência",
           texts({"Demin", "Demex", "Denin", "Denex", "Ddsin", "Ddsex"}), true},
          {"IDREFECALCPARC", 132, "Intervalo Data Referência",
           texts({"F_Dia", "F_Semana", "F_Dezena", "F_Quinzena", "F_Mes"}), true},
          {"IDCONSDIAUTIL", 0, "Considerar Dias Úteis", yesNo, true},
          {"IDTPPERIODO", 133, "Período",
           {"Por dia do mês", "Por dia da semana", "Por dia da semana\\Mês"}, true},
          {"IDVRIGUALPARC", 123, "Parcelas com Valor Igual", yesNo, true}}},
        {"dbgDiaPgto",
         {{"NRDIAINIPGTO", 108, "Dia Inicial do Período", {}, false},
          {"NRDIAFINPGTO", 104, "Dia Final do Período", {}, false},
          {"NRMESFORMPGT", 100, "Mês de Pagamento", currentOrNext, false},
          {"NRDIAPGTOVAR", 95, "Dia de Pagamento", {}, false},
          {"NRNUMMESPGTO", 95, "Número de Meses", {}, false},
          {"NRDIAPGTOSEMANA", 108, "Dia Semana", weekdayOrNone, true}}},
        {"dbgDiaSemana",
         {{"NRDIAINIPGTO", 108, "Dia Inicial do Período", weekdays, true},
          {"NRDIAFINPGTO", 104, "Dia Final do Período", weekdays, true},
          {"NRMESFORMPGT", 118, "Semana de Pagamento", currentOrNext, true},
          {"NRDIAPGTOVAR", 0, "Dia de Pagamento", weekdays, false}}},
        {"dbgSemanaMes",
         {{"NRDIAINIPGTO", 0, "Dia Inicial do Período", {}, false},
          {"NRDIAFINPGTO", 0, "Dia Final do Período", {}, false},
          {"NRMESFORMPGT", 0, "Mês de Pagamento", laterMonths, false},
          {"NRNUMMESPGTO", 0, "Semana de Pagamento", {}, false},
          {"NRDIAPGTOVAR", 0, "Dia de Pagamento", weekdays, false}}},
    };
    // clang-format on
    for (const auto& [name, columns] : grids) {
        const auto& grid = Grid(name);
        const std::string source = name == std::string("dbgPadrao") ? "dtsPadrao" : "dtsDiaPgto";
        EXPECT_EQ(grid.DataSource(), &Part<plat::TDataSource>(source)) << name;
        ASSERT_EQ(grid.ColumnCount(), static_cast<int>(columns.size())) << name;
        for (int i = 0; i < grid.ColumnCount(); ++i) {
            const Column& column = columns[i];
            SCOPED_TRACE(std::string(name) + " column " + std::to_string(i));
            EXPECT_EQ(grid.Column(i).FieldName, column.field);
            EXPECT_NE(grid.ColumnField(i), nullptr);
            EXPECT_EQ(grid.Column(i).Width, column.width ? column.width : plat::TColumn{}.Width);
            EXPECT_EQ(grid.ColumnTitle(i), column.title);
            EXPECT_EQ(grid.Column(i).PickList, column.pickList);
            EXPECT_EQ(grid.DropDownShown(i), column.dropDown);
        }
    }
    EXPECT_EQ(Grid("dbgSemanaMes").Column(2).Alignment, plat::TAlignment::Left);
}

} // namespace
