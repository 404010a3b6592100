#pragma once
#include "core/Component.h"
#include "core/Observable.h"
#include "ui/Keys.h"

#include <functional>
#include <string>

namespace plat {

class TForm;

/// A visible part of a form, placed in a parent control.
class TControl : public TComponent, public TObservable {
public:
    TControl(TComponent* owner, std::string name);

    TControl* Parent() const { return parent_; }
    void SetParent(TControl* parent) { parent_ = parent; }
    /// The form that owns the control (directly or through its owners).
    TForm* Form() const;

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    /// Shown on screen: visible itself and every parent shown.
    virtual bool Showing() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);

    int Left = 0, Top = 0, Width = 0, Height = 0;
    /// Where the control sits in its parent: "none", "top", "bottom", "left", "right", "client".
    std::string Align = "none";

private:
    TControl* parent_ = nullptr;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
};

/// A control that can hold the focus and receive keys.
class TWinControl : public TControl {
public:
    using NotifyEvent = std::function<void(TControl& sender)>;
    using KeyEvent = std::function<void(TControl& sender, std::uint16_t& key, TShiftState shift)>;
    /// The character is one UTF-8 character, or a control character; empty means discarded.
    using KeyPressEvent = std::function<void(TControl& sender, std::string& key)>;

    using TControl::TControl;

    /// Can take the focus: shown and enabled, parents included.
    bool CanFocus() const;
    bool Focused() const;
    /// Moves the focus here as code does: the old control's exit, then this one's enter.
    void SetFocus();

    NotifyEvent OnEnter, OnExit;
    KeyEvent OnKeyDown;
    KeyPressEvent OnKeyPress;

    /// Default handling of a key after OnKeyDown left it.
    virtual void KeyDown(std::uint16_t& key, TShiftState shift);
    /// Default handling of a character after OnKeyPress left it.
    virtual void KeyPress(std::string& key);
    /// Runs before OnExit when the focus leaves: write pending text; may raise to keep it.
    virtual void BeforeExit() {}
    /// A new key reaches the form while this control has the focus.
    virtual void BeginKey() {}
};

/// Plain containers of the form's layout.
class TPanel : public TControl {
public:
    using TControl::TControl;
    std::string BevelOuter = "raised";
};
class TScrollBox : public TControl {
public:
    using TControl::TControl;
};
class TSplitter : public TControl {
public:
    using TControl::TControl;
};
class TTabSheet : public TControl {
public:
    using TControl::TControl;
};
class TPageControl : public TControl {
public:
    using TControl::TControl;
};

/// A fixed text.
class TLabel : public TControl {
public:
    using TControl::TControl;
};

/// A notebook: pages stacked on one another, one shown at a time.
class TNotebook : public TControl {
public:
    using TControl::TControl;

    /// Adds a page; returns its control, parent of the controls shown on it.
    TControl& AddPage(const std::string& name, const std::string& caption);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TControl& Page(int index) const { return *pages_.at(index); }
    int PageIndex() const { return pageIndex_; }
    void SetPageIndex(int index);

private:
    std::vector<TControl*> pages_;
    int pageIndex_ = 0;
};

/// A page of a notebook: shown only while it is the notebook's page on show.
class TNotebookPage : public TControl {
public:
    using TControl::TControl;
    bool Showing() const override;
};

} // namespace plat
