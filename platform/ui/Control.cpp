#include "ui/Control.h"

#include "core/Abort.h"
#include "ui/Form.h"

namespace plat {

TControl::TControl(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {}

TForm* TControl::Form() const {
    for (TComponent* c = Owner(); c; c = c->Owner())
        if (auto* form = dynamic_cast<TForm*>(c)) return form;
    return nullptr;
}

void TControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Notify(Change::Visible);
    if (TForm* form = Form(); form && !visible) form->CheckFocus();
}

bool TControl::Showing() const {
    return visible_ && (!parent_ || parent_->Showing());
}

void TControl::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Notify(Change::Enabled);
    if (TForm* form = Form(); form && !enabled) form->CheckFocus();
}

void TControl::SetCaption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    Notify(Change::Caption);
}

bool TWinControl::CanFocus() const {
    if (!Showing()) return false;
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const {
    TForm* form = Form();
    return form && form->ActiveControl() == this;
}

void TWinControl::SetFocus() {
    TForm* form = Form();
    if (!form) throw EDatabaseError("O controle " + Name() + " não pertence a um formulário.");
    form->MoveFocus(*this);
}

void TWinControl::KeyDown(std::uint16_t&, TShiftState) {}
void TWinControl::KeyPress(std::string&) {}

TControl& TNotebook::AddPage(const std::string& name, const std::string& caption) {
    auto& page = Create<TNotebookPage>(name);
    page.SetParent(this);
    page.SetCaption(caption);
    pages_.push_back(&page);
    return page;
}

void TNotebook::SetPageIndex(int index) {
    if (index < 0 || index >= PageCount() || index == pageIndex_) return;
    pageIndex_ = index;
    Notify(Change::Page);
    if (TForm* form = Form()) form->CheckFocus();
}

bool TNotebookPage::Showing() const {
    auto* book = dynamic_cast<const TNotebook*>(Parent());
    if (book && &book->Page(book->PageIndex()) != this) return false;
    return TControl::Showing();
}

} // namespace plat
