#include "resource/FormResource.h"

#include "data/ClientDataSet.h"
#include "data/DataSource.h"
#include "net/NetConnection.h"
#include "shared/ADOIBQuery.h"
#include "shared/Messages.h"
#include "ui/Buttons.h"
#include "ui/DBControls.h"
#include "ui/DBGrid.h"
#include "ui/Form.h"

#include <map>

namespace plat {

namespace {

using json = nlohmann::json;

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
    throw EDatabaseError("Recurso do formulário, " + where + ": " + what + ".");
}

std::string Str(const json& v, const std::string& where) {
    if (!v.is_string()) Fail(where, "texto esperado");
    return v.get<std::string>();
}
int Int(const json& v, const std::string& where) {
    if (!v.is_number_integer()) Fail(where, "número inteiro esperado");
    return v.get<int>();
}
bool Bool(const json& v, const std::string& where) {
    if (!v.is_boolean()) Fail(where, "verdadeiro ou falso esperado");
    return v.get<bool>();
}
std::vector<std::string> Lines(const json& v, const std::string& where) {
    if (!v.is_array()) Fail(where, "lista de textos esperada");
    std::vector<std::string> out;
    for (const auto& item : v)
        out.push_back(Str(item, where));
    return out;
}

using Factory = std::function<TComponent&(TForm&, const std::string&)>;

const std::map<std::string, Factory>& Classes() {
    static const std::map<std::string, Factory> classes = {
        {"TPanel",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TPanel>(n); }},
        {"TScrollBox",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TScrollBox>(n); }},
        {"TSplitter",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TSplitter>(n); }},
        {"TTabSheet",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TTabSheet>(n); }},
        {"TPageControl",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TPageControl>(n); }},
        {"TLabel",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TLabel>(n); }},
        {"TNotebook",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TNotebook>(n); }},
        {"TDBGrid",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TDBGrid>(n); }},
        {"TDataSource",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TDataSource>(n); }},
        {"TClientDataSet",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TClientDataSet>(n); }},
        {"TNetConnection",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TNetConnection>(n); }},
        {"TADOIBQuery",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TADOIBQuery>(n); }},
        {"TMessages",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TMessages>(n); }},
        {"TSpeedButton",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TSpeedButton>(n); }},
        {"TMenuItem",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TMenuItem>(n); }},
        {"TDBText",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TDBText>(n); }},
        {"TDBNavigator",
         [](TForm& f, const std::string& n) -> TComponent& { return f.Create<TDBNavigator>(n); }},
    };
    return classes;
}

TColumnButtonStyle ButtonStyle(const std::string& s, const std::string& where) {
    if (s == "auto" || s == "standard") return TColumnButtonStyle::Auto;
    if (s == "ellipsis") return TColumnButtonStyle::Ellipsis;
    if (s == "none") return TColumnButtonStyle::None;
    Fail(where, "estilo de botão desconhecido '" + s + "'");
}

TAlignment Alignment(const std::string& s, const std::string& where) {
    if (s == "left") return TAlignment::Left;
    if (s == "right") return TAlignment::Right;
    if (s == "center") return TAlignment::Center;
    Fail(where, "alinhamento desconhecido '" + s + "'");
}

/// Applies one entry of the description to its component.
class Loader {
public:
    Loader(TForm& form, const THandlerTable& handlers, const ResourceFileReader& readFile)
        : form_(form), handlers_(handlers), readFile_(readFile) {}

    TComponent& Find(const std::string& name, const std::string& where) const {
        if (SameText(name, form_.Name())) return form_;
        TComponent* c = form_.FindComponent(name);
        if (!c) Fail(where, "componente '" + name + "' inexistente");
        return *c;
    }

    template <class T> T& FindAs(const std::string& name, const std::string& where) const {
        auto* c = dynamic_cast<T*>(&Find(name, where));
        if (!c) Fail(where, "o componente '" + name + "' não é do tipo esperado");
        return *c;
    }

    template <class Handler>
    Handler Event(const json& v, const std::string& where, const std::string& event) const {
        return handlers_.Get<Handler>(Str(v, where + "." + event), event);
    }

    void Create(const json& entry) {
        const std::string name = Str(entry.value("name", json()), "componente sem nome");
        const std::string cls = Str(entry.value("class", json()), name + ".class");
        auto it = Classes().find(cls);
        if (it == Classes().end()) Fail(name, "classe desconhecida '" + cls + "'");
        if (form_.FindComponent(name)) Fail(name, "nome repetido");
        TComponent& c = it->second(form_, name);
        if (auto* book = dynamic_cast<TNotebook*>(&c); book && entry.contains("pages")) {
            for (const auto& page : entry["pages"])
                book->AddPage(Str(page.value("name", json()), name + ".pages"),
                              Str(page.value("caption", json("")), name + ".pages"));
        }
        if (auto* ds = dynamic_cast<TClientDataSet*>(&c); ds && entry.contains("fields")) {
            for (const auto& field : entry["fields"])
                CreateField(*ds, field);
        }
    }

    void Apply(TComponent& c, const json& entry) {
        if (!entry.is_object()) Fail(c.Name(), "objeto esperado");
        for (const auto& [key, value] : entry.items()) {
            if (key == "class" || key == "name" || key == "pages" || key == "fields") continue;
            const std::string where = c.Name() + "." + key;
            if (key == "tag") {
                c.Tag = Int(value, where);
                continue;
            }
            if (key == "events") {
                if (!value.is_object()) Fail(where, "objeto esperado");
                for (const auto& [event, handler] : value.items())
                    BindEvent(c, event, handler);
                continue;
            }
            if (!ApplyProperty(c, key, value, where)) Fail(where, "propriedade desconhecida");
        }
    }

private:
    void CreateField(TClientDataSet& ds, const json& f) {
        const std::string where = ds.Name() + ".fields";
        const std::string fieldName = Str(f.value("fieldName", json()), where);
        const std::string name = f.contains("name") ? Str(f["name"], where) : ds.Name() + fieldName;
        const std::string type = Str(f.value("type", json("string")), where);
        TField& field = type == "float" ? ds.AddFloatField(name, fieldName)
                                        : ds.AddStringField(name, fieldName,
                                                            Int(f.value("size", json(20)), where));
        if (type != "float" && type != "string") Fail(where, "tipo de campo desconhecido");
        for (const auto& [key, value] : f.items()) {
            const std::string at = name + "." + key;
            if (key == "name" || key == "fieldName" || key == "type" || key == "size") continue;
            if (key == "displayLabel")
                field.SetDisplayLabel(Str(value, at));
            else if (key == "editMask")
                field.SetEditMask(Str(value, at));
            else if (key == "precision")
                field.Precision = Int(value, at);
            else if (key == "tag")
                field.Tag = Int(value, at);
            else if (key == "events") {
                for (const auto& [event, handler] : value.items())
                    BindEvent(field, event, handler);
            } else
                Fail(at, "propriedade desconhecida");
        }
    }

    bool ApplyProperty(TComponent& c, const std::string& key, const json& v,
                       const std::string& where) {
        if (auto* form = dynamic_cast<TForm*>(&c)) {
            if (key == "helpContext") return form->HelpContext = Int(v, where), true;
            if (key == "helpFile") return form->HelpFile = Str(v, where), true;
            if (key == "keyPreview") return form->KeyPreview = Bool(v, where), true;
            if (key == "formStyle") {
                const std::string s = Str(v, where);
                form->FormStyle = s == "MDIChild"  ? TFormStyle::MDIChild
                                  : s == "MDIForm" ? TFormStyle::MDIForm
                                                   : TFormStyle::Normal;
                return true;
            }
        }
        if (auto* grid = dynamic_cast<TDBGrid*>(&c)) {
            if (key == "dataSource")
                return grid->SetDataSource(&FindAs<TDataSource>(Str(v, where), where)), true;
            if (key == "readOnly") return grid->SetReadOnly(Bool(v, where)), true;
            if (key == "confirmDelete") return grid->ConfirmDelete = Bool(v, where), true;
            if (key == "columns") return Columns(*grid, v, where), true;
        }
        if (auto* book = dynamic_cast<TNotebook*>(&c); book && key == "pageIndex")
            return book->SetPageIndex(Int(v, where)), true;
        if (auto* source = dynamic_cast<TDataSource*>(&c); source && key == "dataSet")
            return source->SetDataSet(&FindAs<TClientDataSet>(Str(v, where), where)), true;
        if (auto* text = dynamic_cast<TDBText*>(&c)) {
            if (key == "dataSource")
                return text->SetDataSource(&FindAs<TDataSource>(Str(v, where), where)), true;
            if (key == "dataField") return text->DataField = Str(v, where), true;
        }
        if (auto* nav = dynamic_cast<TDBNavigator*>(&c); nav && key == "dataSource")
            return nav->SetDataSource(&FindAs<TDataSource>(Str(v, where), where)), true;
        if (auto* net = dynamic_cast<TNetConnection*>(&c)) {
            if (key == "serverName") return net->ServerName = Str(v, where), true;
            if (key == "throwException") return net->ThrowException = Bool(v, where), true;
        }
        if (auto* query = dynamic_cast<TADOIBQuery*>(&c); query && key == "sql")
            return query->SQL = Lines(v, where), true;
        if (auto* messages = dynamic_cast<TMessages*>(&c); messages && key == "lines") {
            if (v.is_string()) {
                messages->LoadFromText(readFile_(v.get<std::string>()));
            } else {
                std::string text;
                for (const auto& line : Lines(v, where))
                    text += line + "\n";
                messages->LoadFromText(text);
            }
            return true;
        }
        if (auto* button = dynamic_cast<TSpeedButton*>(&c); button && key == "hint")
            return button->Hint = Str(v, where), true;
        if (auto* panel = dynamic_cast<TPanel*>(&c); panel && key == "bevelOuter")
            return panel->BevelOuter = Str(v, where), true;
        if (auto* control = dynamic_cast<TControl*>(&c)) {
            if (key == "parent")
                return control->SetParent(&FindAs<TControl>(Str(v, where), where)), true;
            if (key == "caption") return control->SetCaption(Str(v, where)), true;
            if (key == "visible") return control->SetVisible(Bool(v, where)), true;
            if (key == "enabled") return control->SetEnabled(Bool(v, where)), true;
            if (key == "left") return control->Left = Int(v, where), true;
            if (key == "top") return control->Top = Int(v, where), true;
            if (key == "width") return control->Width = Int(v, where), true;
            if (key == "height") return control->Height = Int(v, where), true;
            if (key == "align") return control->Align = Str(v, where), true;
        }
        return false;
    }

    void Columns(TDBGrid& grid, const json& v, const std::string& where) {
        if (!v.is_array()) Fail(where, "lista de colunas esperada");
        if (grid.ColumnCount() != 0) Fail(where, "a grade já tem colunas");
        for (const auto& col : v) {
            const int index = grid.AddColumn(Str(col.value("fieldName", json()), where));
            const std::string fieldName = grid.Column(index).FieldName;
            for (const auto& [key, value] : col.items()) {
                const std::string at = where + "." + fieldName + "." + key;
                if (key == "fieldName") continue;
                if (key == "width")
                    grid.SetColumnWidth(index, Int(value, at));
                else if (key == "title")
                    grid.SetColumnTitle(index, Str(value, at));
                else if (key == "pickList")
                    grid.SetColumnPickList(index, Lines(value, at));
                else if (key == "buttonStyle")
                    grid.SetColumnButtonStyle(index, ButtonStyle(Str(value, at), at));
                else if (key == "readOnly")
                    grid.SetColumnReadOnly(index, Bool(value, at));
                else if (key == "alignment")
                    grid.SetColumnAlignment(index, Alignment(Str(value, at), at));
                else
                    Fail(at, "propriedade desconhecida");
            }
        }
    }

    void BindEvent(TComponent& c, const std::string& event, const json& handler) {
        const std::string where = c.Name();
        if (auto* form = dynamic_cast<TForm*>(&c)) {
            if (event == "OnCreate" || event == "OnActivate" || event == "OnShow") {
                auto h = Event<TForm::NotifyEvent>(handler, where, event);
                (event == "OnCreate"     ? form->OnCreate
                 : event == "OnActivate" ? form->OnActivate
                                         : form->OnShow) = h;
                return;
            }
            if (event == "OnClose")
                return void(form->OnClose = Event<TForm::CloseEvent>(handler, where, event));
            if (event == "OnKeyDown")
                return void(form->OnKeyDown = Event<TForm::KeyEvent>(handler, where, event));
            if (event == "OnKeyPress")
                return void(form->OnKeyPress = Event<TForm::KeyPressEvent>(handler, where, event));
        }
        if (auto* grid = dynamic_cast<TDBGrid*>(&c); grid && event == "OnColExit")
            return void(grid->OnColExit = Event<TDBGrid::NotifyEvent>(handler, where, event));
        if (auto* win = dynamic_cast<TWinControl*>(&c)) {
            if (event == "OnEnter")
                return void(win->OnEnter = Event<TWinControl::NotifyEvent>(handler, where, event));
            if (event == "OnExit")
                return void(win->OnExit = Event<TWinControl::NotifyEvent>(handler, where, event));
            if (event == "OnKeyDown")
                return void(win->OnKeyDown = Event<TWinControl::KeyEvent>(handler, where, event));
            if (event == "OnKeyPress")
                return void(win->OnKeyPress =
                                Event<TWinControl::KeyPressEvent>(handler, where, event));
        }
        if (auto* button = dynamic_cast<TSpeedButton*>(&c); button && event == "OnClick")
            return void(button->OnClick = Event<TSpeedButton::NotifyEvent>(handler, where, event));
        if (auto* item = dynamic_cast<TMenuItem*>(&c); item && event == "OnClick")
            return void(item->OnClick = Event<TMenuItem::NotifyEvent>(handler, where, event));
        if (auto* source = dynamic_cast<TDataSource*>(&c)) {
            if (event == "OnStateChange")
                return void(source->OnStateChange =
                                Event<std::function<void(TDataSource&)>>(handler, where, event));
            if (event == "OnDataChange")
                return void(
                    source->OnDataChange =
                        Event<std::function<void(TDataSource&, TField*)>>(handler, where, event));
        }
        if (auto* field = dynamic_cast<TField*>(&c)) {
            if (event == "OnGetText")
                return void(field->OnGetText = Event<TField::GetTextEvent>(handler, where, event));
            if (event == "OnSetText")
                return void(field->OnSetText = Event<TField::SetTextEvent>(handler, where, event));
            if (event == "OnChange")
                return void(field->OnChange = Event<TField::NotifyEvent>(handler, where, event));
        }
        if (auto* net = dynamic_cast<TNetConnection*>(&c); net && event == "BeforeConnect")
            return void(net->BeforeConnect =
                            Event<std::function<void(TNetConnection&)>>(handler, where, event));
        if (auto* ds = dynamic_cast<TClientDataSet*>(&c)) {
            const std::map<std::string, TClientDataSet::Event TClientDataSet::*> events = {
                {"BeforeOpen", &TClientDataSet::BeforeOpen},
                {"AfterOpen", &TClientDataSet::AfterOpen},
                {"BeforeClose", &TClientDataSet::BeforeClose},
                {"AfterClose", &TClientDataSet::AfterClose},
                {"BeforeInsert", &TClientDataSet::BeforeInsert},
                {"OnNewRecord", &TClientDataSet::OnNewRecord},
                {"AfterInsert", &TClientDataSet::AfterInsert},
                {"BeforeEdit", &TClientDataSet::BeforeEdit},
                {"AfterEdit", &TClientDataSet::AfterEdit},
                {"BeforePost", &TClientDataSet::BeforePost},
                {"AfterPost", &TClientDataSet::AfterPost},
                {"BeforeCancel", &TClientDataSet::BeforeCancel},
                {"AfterCancel", &TClientDataSet::AfterCancel},
                {"BeforeDelete", &TClientDataSet::BeforeDelete},
                {"AfterDelete", &TClientDataSet::AfterDelete},
                {"BeforeScroll", &TClientDataSet::BeforeScroll},
                {"AfterScroll", &TClientDataSet::AfterScroll},
            };
            if (auto it = events.find(event); it != events.end())
                return void(ds->*(it->second) =
                                Event<TClientDataSet::Event>(handler, where, event));
        }
        Fail(where + "." + event, "evento desconhecido");
    }

    TForm& form_;
    const THandlerTable& handlers_;
    const ResourceFileReader& readFile_;
};

} // namespace

void LoadFormResource(TForm& form, const json& resource, const THandlerTable& handlers,
                      const ResourceFileReader& readFile) {
    if (!resource.is_object()) Fail(form.Name(), "descrição vazia");
    Loader loader(form, handlers, readFile);
    const json components = resource.value("components", json::array());
    for (const auto& entry : components)
        loader.Create(entry);
    if (resource.contains("form")) loader.Apply(form, resource["form"]);
    for (const auto& entry : resource.value("inherited", json::array()))
        loader.Apply(loader.Find(Str(entry.value("name", json()), "inherited"), "inherited"),
                     entry);
    for (const auto& entry : components)
        loader.Apply(loader.Find(entry["name"].get<std::string>(), "components"), entry);
}

} // namespace plat
