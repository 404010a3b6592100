#include "FormLookup.h"

#include "app/Application.h"
#include "data/ClientDataSet.h"
#include "ui/DBGrid.h"
#include "ui/Form.h"

#include <algorithm>

namespace gerscript {

namespace {

void Collect(const plat::TComponent& owner, std::vector<plat::TComponent*>& into) {
    for (plat::TComponent* component : owner.Components()) {
        into.push_back(component);
        Collect(*component, into);
    }
}

} // namespace

plat::TForm* FormLookup::OpenForm() {
    const auto forms = plat::Application().Forms();
    for (auto it = forms.rbegin(); it != forms.rend(); ++it)
        if (auto* form = dynamic_cast<plat::TForm*>(*it); form && !form->Closed()) return form;
    return nullptr;
}

std::vector<plat::TComponent*> FormLookup::AllComponents(const plat::TForm& form) {
    std::vector<plat::TComponent*> components;
    Collect(form, components);
    return components;
}

std::vector<plat::TClientDataSet*> FormLookup::GridDataSets(const plat::TForm& form) {
    const auto components = AllComponents(form);
    std::vector<const plat::TClientDataSet*> shown;
    for (plat::TComponent* component : components)
        if (auto* grid = dynamic_cast<plat::TDBGrid*>(component); grid && grid->DataSet())
            shown.push_back(grid->DataSet());
    std::vector<plat::TClientDataSet*> dataSets;
    for (plat::TComponent* component : components)
        if (auto* dataSet = dynamic_cast<plat::TClientDataSet*>(component);
            dataSet && std::find(shown.begin(), shown.end(), dataSet) != shown.end())
            dataSets.push_back(dataSet);
    return dataSets;
}

plat::TNotebook* FormLookup::Notebook(const plat::TForm& form) {
    for (plat::TComponent* component : AllComponents(form))
        if (auto* notebook = dynamic_cast<plat::TNotebook*>(component)) return notebook;
    return nullptr;
}

plat::TDBGrid* FormLookup::FocusedGrid(const plat::TForm& form) {
    return dynamic_cast<plat::TDBGrid*>(form.ActiveControl());
}

} // namespace gerscript
