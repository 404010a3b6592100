#pragma once
#include <vector>

namespace plat {
class TClientDataSet;
class TComponent;
class TDBGrid;
class TForm;
class TNotebook;
} // namespace plat

namespace gerscript {

/// Finds the parts of a screen that a script drives and reports, knowing only the platform's
/// object model: the host never learns what a screen is about.
class FormLookup {
public:
    FormLookup() = delete;

    /// The newest form of the application that has not been closed; null when none is open.
    static plat::TForm* OpenForm();
    /// Every component the form owns, directly or through its components, in creation order.
    static std::vector<plat::TComponent*> AllComponents(const plat::TForm& form);
    /// The client datasets that some grid of the form shows, in creation order.
    static std::vector<plat::TClientDataSet*> GridDataSets(const plat::TForm& form);
    /// The form's first notebook; null when it has none.
    static plat::TNotebook* Notebook(const plat::TForm& form);
    /// The form's active control when it is a grid; null otherwise.
    static plat::TDBGrid* FocusedGrid(const plat::TForm& form);
};

} // namespace gerscript
