#include "PlatformTestSupport.h"
#include "app/Application.h"
#include "app/ModuleLoader.h"
#include "core/Abort.h"
#include "core/Value.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

using Texts = std::vector<std::string>;

// Writes its name to a shared log when destroyed, before the components it owns go.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::string name, Texts* log)
        : TComponent(owner, std::move(name)), log_(log) {}
    ~Probe() override { log_->push_back(Name()); }

private:
    Texts* log_;
};

// Queued yes/no answers taken in order and an unanswered question counting as No show in the
// scenario language.script; any result can be queued, and an error takes none of them.
TEST(ApplicationTest, HeadlessQuestionsTakeQueuedAnswersAndErrorsTakeNone) {
    HeadlessDialogs dialogs;
    dialogs.QueueAnswer(TModalResult::Cancel);
    dialogs.ShowError("Falhou.");
    EXPECT_EQ(dialogs.Ask("Segunda?", TMsgDlgType::Warning, {TMsgDlgBtn::Yes}, 7),
              TModalResult::Cancel);
    ASSERT_EQ(dialogs.Transcript().size(), 2u);
    EXPECT_EQ(dialogs.Transcript()[1].helpContext, 7);
    EXPECT_FALSE(dialogs.Transcript()[1].unanswered);
}

TEST(ApplicationTest, DispatchReportsFailuresOnceAndSwallowsTheAbort) {
    TApplication app;
    const auto& transcript = app.Headless().Transcript();
    EXPECT_TRUE(app.Dispatch([] {}));
    EXPECT_FALSE(app.Dispatch([] { Abort(); }));
    EXPECT_TRUE(transcript.empty()) << "the silent abort showed a dialog";
    EXPECT_FALSE(app.Dispatch([] { throw 42; }));
    // An inner dispatch reports its own failure; the outer action goes on.
    bool outerFinished = false;
    EXPECT_TRUE(app.Dispatch([&] {
        EXPECT_FALSE(app.Dispatch([] { throw EDatabaseError("Campo inválido."); }));
        outerFinished = true;
    }));
    EXPECT_TRUE(outerFinished);
    ASSERT_EQ(transcript.size(), 2u);
    EXPECT_EQ(transcript[0].text, "Erro inesperado.");
    EXPECT_EQ(transcript[1].kind, DialogRecord::Kind::Error);
    EXPECT_EQ(transcript[1].text, "Campo inválido.");
}

// A form released while a handler runs lives until the outermost dispatch returns; the
// application tells of its forms and of the cursor only when they change.
TEST(ApplicationTest, ReleasedFormLivesUntilTheOutermostDispatchReturns) {
    TApplication app;
    int formChanges = 0, cursorChanges = 0;
    app.Subscribe([&](TObservable&, Change what) {
        formChanges += what == Change::Forms;
        cursorChanges += what == Change::Cursor;
    });
    Texts destroyed;
    auto form = std::make_unique<Probe>(nullptr, "frmA", &destroyed);
    TComponent* raw = form.get();
    app.AdoptForm(std::move(form));
    app.Dispatch([&] {
        app.Dispatch([&] { app.ReleaseForm(raw); });
        EXPECT_TRUE(destroyed.empty()) << "destroyed under a running handler";
        app.ReleaseForm(raw); // a second release changes nothing
        throw std::runtime_error("o manipulador falhou depois");
    });
    EXPECT_EQ(destroyed, Texts{"frmA"});
    EXPECT_TRUE(app.Forms().empty());
    EXPECT_EQ(formChanges, 2);

    // Outside any dispatch a release destroys at once; a stranger is ignored.
    app.AdoptForm(std::make_unique<Probe>(nullptr, "frmB", &destroyed));
    Probe stranger(nullptr, "frmC", &destroyed);
    app.ReleaseForm(&stranger);
    EXPECT_EQ(app.Forms().size(), 1u);
    app.ReleaseForm(app.Forms()[0]);
    EXPECT_EQ(destroyed, (Texts{"frmA", "frmB"}));
    EXPECT_EQ(app.FormsCreated(), 2);

    for (TCursor cursor : {TCursor::HourGlass, TCursor::HourGlass, TCursor::Default})
        app.SetScreenCursor(cursor);
    EXPECT_EQ(cursorChanges, 2);
}

TEST(ComponentTest, FindComponentIgnoresCaseAndSearchesDepthFirstAndOwnersDestroyNewestFirst) {
    Texts log;
    {
        TComponent root(nullptr, "frm");
        auto& grid = root.Create<Probe>("dbgPadrao", &log);
        auto& deep = grid.Create<Probe>("Alvo", &log);
        auto& column = grid.Create<Probe>("Coluna", &log);
        root.Create<Probe>("alvo", &log);

        EXPECT_EQ(root.FindComponent("DBGPADRAO"), &grid);
        EXPECT_EQ(root.FindComponent("coluna"), &column);
        EXPECT_EQ(root.FindComponent("ALVO"), &deep); // the first child's subtree comes first
        EXPECT_EQ(root.FindComponent("Nada"), nullptr);
        EXPECT_EQ(root.Find<Probe>("coluna"), &column);
        EXPECT_EQ(root.Find<Probe>("frm"), nullptr); // a component does not find itself
        EXPECT_EQ(grid.Components(), (std::vector<TComponent*>{&deep, &column}));
    }
    EXPECT_EQ(log, (Texts{"alvo", "dbgPadrao", "Coluna", "Alvo"}));
}

using test::ErrorOf;
using test::Says;
class ModuleLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("GER_TEST_MODULE_LOG", dir_.File("hooks.log").c_str(), 1); }
    void TearDown() override {
        unsetenv("GER_TEST_MODULE_LOG");
        unsetenv("GER_TEST_MODULE_FAIL_INIT");
    }
    // The hooks and entries the test module ran, in order.
    Texts Ran() const {
        std::ifstream file(dir_.File("hooks.log"));
        Texts calls;
        for (std::string line; std::getline(file, line);)
            calls.push_back(line);
        return calls;
    }
    test::TempDir dir_;
};

TEST_F(ModuleLoaderTest, HooksRunOnceAroundTheEntryCallAndFailedLoadsSayWhy) {
    auto module = TModule::Load(PLATFORM_TEST_MODULE);
    EXPECT_EQ(Ran(), Texts{"Initialize"});

    module->Entry("IniProc")();
    EXPECT_EQ(Ran(), (Texts{"Initialize", "IniProc"}));

    EXPECT_TRUE(Says([&] { module->Entry("CriaFormItems"); }, "CriaFormItems"));
    // malloc is reachable through the module's libraries, but the module does not export it.
    EXPECT_FALSE(ErrorOf([&] { module->Entry("malloc"); }).empty());

    module->Unload();
    module->Unload(); // a second unload changes nothing
    EXPECT_FALSE(ErrorOf([&] { module->Entry("IniProc"); }).empty());
    module.reset();
    EXPECT_EQ(Ran(), (Texts{"Initialize", "IniProc", "Finalize"}));

    { auto scoped = TModule::Load(PLATFORM_TEST_MODULE); } // the destructor unloads
    EXPECT_EQ(Ran(), (Texts{"Initialize", "IniProc", "Finalize", "Initialize", "Finalize"}));

    // Failed loads say why.
    const std::string path = dir_.File("nao-existe.so");
    EXPECT_TRUE(Says([&] { TModule::Load(path); }, path));

    const std::string notAModule = dir_.Write("texto.so", "isto não é um módulo");
    EXPECT_TRUE(Says([&] { TModule::Load(notAModule); }, notAModule));

    // A module whose load hook fails is closed again without its unload hook.
    setenv("GER_TEST_MODULE_FAIL_INIT", "1", 1);
    EXPECT_EQ(ErrorOf([&] { TModule::Load(PLATFORM_TEST_MODULE); }), "falha na carga");
    EXPECT_EQ(Ran(),
              (Texts{"Initialize", "IniProc", "Finalize", "Initialize", "Finalize", "Initialize"}));
}

TEST(ValueTest, FloatToStrWritesTheShortestText) {
    const std::pair<double, const char*> cases[] = {
        {31, "31"},      {-3.75, "-3.75"},     {0.1 + 0.2, "0.3"},
        {-0.0, "0"},     {1e-05, "1E-5"},      {0.0001, "0.0001"},
        {1e+15, "1E15"}, {-2.5e-7, "-2.5E-7"}, {1e14, "100000000000000"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FloatToStr(value, 15), text) << value;
    EXPECT_EQ(FloatToStr(2.0 / 3, 2), "0.67");
    EXPECT_EQ(FloatToStr(1234567, 3), "1.23E6");
}

TEST(ValueTest, StrToFloatAndStrToIntReadTypedNumbers) {
    const std::pair<const char*, double> cases[] = {
        {"2.5", 2.5}, {"  2,5 ", 2.5}, {"-1,25", -1.25}, {"+3", 3}, {"\t7\t", 7}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(StrToFloat(text), value) << text;

    for (const char* bad :
         {"abc", " ", "1,2,3", "1.234,5", "inf", "nan", "+-1", "2,5x", "0x10", "1e999"})
        EXPECT_EQ(test::ErrorOf<EDatabaseError>([&] { StrToFloat(bad); }),
                  "'" + std::string(bad) + "' não é um valor numérico válido.");

    const std::pair<const char*, int> whole[] = {{" -7 ", -7}, {"+3", 3}, {"007", 7}};
    for (const auto& [text, value] : whole)
        EXPECT_EQ(StrToInt(text), value) << text;

    for (const char* bad : {"x", "1.5", "", "99999999999", "-", "1 2"})
        EXPECT_EQ(test::ErrorOf<EDatabaseError>([&] { StrToInt(bad); }),
                  "'" + std::string(bad) + "' não é um número inteiro válido.");
}

TEST(ValueTest, CaseChangesAndSameTextIgnoresItForAsciiAndAccentedLetters) {
    // The ordinal sign has no case, nor have the multiplication and division signs.
    const std::pair<const char*, const char*> pairs[] = {
        {"àáâãäéêíóôõúüç", "ÀÁÂÃÄÉÊÍÓÔÕÚÜÇ"}, {"mês 1º", "MÊS 1º"}, {"a×b÷c", "A×B÷C"}, {"ÿ", "Ÿ"}};
    for (const auto& [lower, upper] : pairs) {
        EXPECT_EQ(UpperCase(lower), upper);
        EXPECT_EQ(LowerCase(upper), lower);
        EXPECT_TRUE(SameText(lower, upper)) << lower;
    }
    EXPECT_TRUE(SameText("Ref_inf", "REF_INF"));
    EXPECT_FALSE(SameText("Medio", "Médio")) << "an accent is no letter case";
    EXPECT_FALSE(SameText("Ref", "Ref_inf"));
}

// Characters, not bytes, show in the field cut and Backspace tests and in typed masks; these
// are the ends those do not reach.
TEST(ValueTest, Utf8HelpersAtTheirEnds) {
    EXPECT_EQ(Utf8Left("ab", 5), "ab");
    EXPECT_EQ(Utf8DropLast(""), "");
}

} // namespace
} // namespace plat
