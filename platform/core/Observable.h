#pragma once
#include <functional>
#include <map>

namespace plat {

/// What changed in an observable object; a front-end repaints what the kind names.
enum class Change {
    Data,        ///< rows or values shown
    State,       ///< dataset state
    Current,     ///< current row
    Focus,       ///< which control holds the focus
    Column,      ///< selected column of a grid
    Editor,      ///< text of a cell editor
    Enabled,     ///< enabled state of a control
    Columns,     ///< column properties (read-only, drop-down button, title, width)
    Page,        ///< notebook page on show
    WindowState, ///< normal, minimized, maximized
    Caption,     ///< caption or text of a control
    Visible,     ///< shown or hidden
    Wait,        ///< wait indicator started or stopped
    Cursor,      ///< screen cursor
    Forms,       ///< a form was created or destroyed
    Repaint,     ///< the form asked to be repainted
};

class TObservable;
using Observer = std::function<void(TObservable&, Change)>;

/// Announces changes to observers so that a front-end repaints without polling.
class TObservable {
public:
    TObservable() = default;
    TObservable(const TObservable&) = delete;
    TObservable& operator=(const TObservable&) = delete;
    virtual ~TObservable() = default;

    /// Registers an observer; returns a ticket for Unsubscribe.
    int Subscribe(Observer observer) {
        observers_[++lastTicket_] = std::move(observer);
        return lastTicket_;
    }
    /// Removes the observer registered under ticket.
    void Unsubscribe(int ticket) { observers_.erase(ticket); }

protected:
    /// Tells every observer what changed.
    void Notify(Change what) {
        // Copy first: an observer may subscribe or unsubscribe while being told.
        auto observers = observers_;
        for (auto& [ticket, observer] : observers)
            if (observer) observer(*this, what);
    }

private:
    std::map<int, Observer> observers_;
    int lastTicket_ = 0;
};

} // namespace plat
