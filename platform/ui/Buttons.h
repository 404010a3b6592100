#pragma once
#include "ui/Control.h"

#include <functional>

namespace plat {

/// A command button of a tool bar; never takes the focus.
class TSpeedButton : public TControl {
public:
    using NotifyEvent = std::function<void(TControl& sender)>;
    using TControl::TControl;
    std::string Hint;
    NotifyEvent OnClick;
    /// The user clicks: runs OnClick when the button is enabled.
    void Click();
};

/// An entry of a form's menu; entries nest. Never takes the focus.
class TMenuItem : public TControl {
public:
    using NotifyEvent = std::function<void(TControl& sender)>;
    using TControl::TControl;
    std::string ShortCut;
    NotifyEvent OnClick;
    /// The user picks the entry: runs OnClick when it is enabled.
    void Click();
};

} // namespace plat
