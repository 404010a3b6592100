#include "adapter/QtDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

namespace desktop {

namespace {

struct ButtonText {
    plat::TMsgDlgBtn button;
    plat::TModalResult result;
    const char* text;
    QMessageBox::ButtonRole role;
};

constexpr ButtonText kButtons[] = {
    {plat::TMsgDlgBtn::Yes, plat::TModalResult::Yes, "&Sim", QMessageBox::YesRole},
    {plat::TMsgDlgBtn::No, plat::TModalResult::No, "&Não", QMessageBox::NoRole},
    {plat::TMsgDlgBtn::OK, plat::TModalResult::OK, "OK", QMessageBox::AcceptRole},
    {plat::TMsgDlgBtn::Cancel, plat::TModalResult::Cancel, "Cancelar", QMessageBox::RejectRole},
    {plat::TMsgDlgBtn::Abort, plat::TModalResult::Abort, "&Anular", QMessageBox::RejectRole},
    {plat::TMsgDlgBtn::Retry, plat::TModalResult::Retry, "&Repetir", QMessageBox::AcceptRole},
    {plat::TMsgDlgBtn::Ignore, plat::TModalResult::Ignore, "&Ignorar", QMessageBox::AcceptRole},
    {plat::TMsgDlgBtn::All, plat::TModalResult::All, "&Todos", QMessageBox::YesRole},
    {plat::TMsgDlgBtn::NoToAll, plat::TModalResult::NoToAll, "N&ão para todos",
     QMessageBox::NoRole},
    {plat::TMsgDlgBtn::YesToAll, plat::TModalResult::YesToAll, "Sim para &todos",
     QMessageBox::YesRole},
    {plat::TMsgDlgBtn::Help, plat::TModalResult::None, "&Ajuda", QMessageBox::HelpRole},
};

QMessageBox::Icon IconOf(plat::TMsgDlgType type) {
    switch (type) {
    case plat::TMsgDlgType::Warning:
        return QMessageBox::Warning;
    case plat::TMsgDlgType::Error:
        return QMessageBox::Critical;
    case plat::TMsgDlgType::Information:
        return QMessageBox::Information;
    case plat::TMsgDlgType::Confirmation:
        return QMessageBox::Question;
    case plat::TMsgDlgType::Custom:
        break;
    }
    return QMessageBox::NoIcon;
}

// A question is read with the normal cursor even while a slow operation holds the hourglass.
class ArrowCursor {
public:
    ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;
};

} // namespace

QtDialogs::QtDialogs(QWidget* parent, QString title) : parent_(parent), title_(std::move(title)) {}

void QtDialogs::ShowError(const std::string& text) {
    Run(text, plat::TMsgDlgType::Error, {plat::TMsgDlgBtn::OK});
}

plat::TModalResult QtDialogs::Ask(const std::string& text, plat::TMsgDlgType type,
                                  const plat::TMsgDlgButtons& buttons, int /*helpContext*/) {
    return Run(text, type, buttons);
}

plat::TModalResult QtDialogs::Run(const std::string& text, plat::TMsgDlgType type,
                                  const plat::TMsgDlgButtons& buttons) {
    QMessageBox box(IconOf(type), title_, QString::fromStdString(text), QMessageBox::NoButton,
                    parent_);
    box.setObjectName("platformMessage");
    std::vector<std::pair<QAbstractButton*, plat::TModalResult>> results;
    for (plat::TMsgDlgBtn wanted : buttons)
        for (const ButtonText& known : kButtons)
            if (known.button == wanted)
                results.emplace_back(box.addButton(QString::fromUtf8(known.text), known.role),
                                     known.result);
    if (results.empty())
        results.emplace_back(box.addButton("OK", QMessageBox::AcceptRole), plat::TModalResult::OK);
    box.setDefaultButton(qobject_cast<QPushButton*>(results.front().first));
    ++shown_;
    ArrowCursor arrow;
    box.exec();
    for (auto [button, result] : results)
        if (box.clickedButton() == button) return result;
    return plat::TModalResult::Cancel;
}

} // namespace desktop
