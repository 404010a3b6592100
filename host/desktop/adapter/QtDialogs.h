#pragma once
#include "app/Dialogs.h"

#include <QString>
#include <functional>

class QWidget;

namespace desktop {

/// The platform's message dialogs as modal Qt message boxes with Portuguese buttons.
class QtDialogs : public plat::IDialogs {
public:
    /// parent: the window the boxes are modal to; the application's title goes on them.
    QtDialogs(QWidget* parent, QString title);

    void ShowError(const std::string& text) override;
    plat::TModalResult Ask(const std::string& text, plat::TMsgDlgType type,
                           const plat::TMsgDlgButtons& buttons, int helpContext) override;

    /// Message boxes shown since the program started.
    int Shown() const { return shown_; }

private:
    plat::TModalResult Run(const std::string& text, plat::TMsgDlgType type,
                           const plat::TMsgDlgButtons& buttons);
    QWidget* parent_;
    QString title_;
    int shown_ = 0;
};

} // namespace desktop
