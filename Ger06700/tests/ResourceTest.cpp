// What the form's resources decide beyond what a session shows: the fields' sizes, precisions,
// edit masks and key flag, which rule what a field takes and how it reads back, and the day
// messages the catalogue composes. The grids' columns, drop-down lists and texts are in the
// scenario transcripts.
#include "ScreenFixture.h"

namespace {

// A dataset's fields in order: NAME:SIZE for text, NAME:F<precision> for floating point, the
// edit mask in brackets, "key" for the key field.
std::string Describe(const plat::TClientDataSet& dataSet) {
    std::string text;
    for (const plat::TField* field : dataSet.Fields()) {
        text += (text.empty() ? "" : ", ") + field->FieldName() + ":";
        text += field->DataType() == plat::TFieldType::Float
                    ? "F" + std::to_string(field->Precision)
                    : std::to_string(field->Size());
        if (!field->EditMask().empty()) text += " [" + field->EditMask() + "]";
        if (field->Tag == 1) text += " key";
    }
    return text;
}

TEST_F(ScreenTest, TheFieldsTakeWhatTheServerStoresAndPrintingIsOff) {
    const std::pair<const char*, const char*> dataSets[] = {
        {"cdsFormPgto", "CDFORMPGTO:2 key, NMFORMPGTO:30, IDTIPODTPGTO:4 [>l;0; ], "
                        "IDREFECALCPARC:30, IDTPPERIODO:1, IDCONSDIAUTIL:1, IDVRIGUALPARC:1"},
        {"cdsDiaPgto", "CDFORMPGTO:2, NRDIAINIPGTO:2, NRDIAFINPGTO:2 [99;0; ], "
                       "NRDIAPGTOVAR:2 [99;0; ], NRMESFORMPGT:F2, NRNUMMESPGTO:F15, "
                       "NRDIAPGTOSEMANA:2"},
        {"cdsVerCodForm", "CDFORMPGTO:2"},
        {"cdsPeriodo", "NRDIAINIPGTO:2, NRDIAFINPGTO:2"},
    };
    ASSERT_TRUE(IniProc());
    for (const auto& [name, fields] : dataSets)
        EXPECT_EQ(Describe(Part<plat::TClientDataSet>(name)), fields) << name;
    // Its button and list entry are refused in the faults session.
    EXPECT_FALSE(Form().mnuConfigImpressora.Enabled());
}

TEST_F(ScreenTest, TheCatalogueFillsTheDayMessagesWithTheirWord) {
    ASSERT_TRUE(IniProc());
    const plat::TMessages& catalogue = Form().msgPadrao;
    // "Dia final do período deve estar entre 01 e 31." is in the typical-request session.
    const struct {
        const char* pattern;
        const char* word;
        const char* shown;
    } cases[] = {
        {"DiaPgto_maior", "IniPeriodo", "Dia Inicio do Período deve estar entre 01 e 31."},
        {"DiaPgto_maior", "DiaPag", "Dia de pagamento deve estar entre 01 e 31."},
        {"DiaPgto_inv", "FinPeriodo", "Dia final do período informado deve estar entre 01 e 07."},
        {"DiaPgto_inv", "IniPeriodo", "Dia Inicio do Período informado deve estar entre 01 e 07."},
        {"DiaPgto_inv", "DiaPag", "Dia de pagamento informado deve estar entre 01 e 07."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::Format(catalogue.Msg(c.pattern), catalogue.Msg(c.word)), c.shown)
            << c.pattern << " + " << c.word;
}

} // namespace
