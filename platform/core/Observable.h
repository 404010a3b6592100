#pragma once
#include <exception>
#include <functional>
#include <map>

namespace plat {

class TClientDataSet;
class TField;

/// What changed in an observable object; a front-end repaints what the kind names.
enum class Change {
    Data,        ///< rows or values shown; TNotice::rows says which
    State,       ///< dataset state
    Current,     ///< current row; TNotice::row is the new one
    Focus,       ///< which control holds the focus
    Column,      ///< selected column of a grid; TNotice::column is the new one
    Editor,      ///< text of a cell editor, or whether that text is selected
    Enabled,     ///< enabled state of a control
    Columns,     ///< column or grid properties; TNotice::column and TNotice::property say which
    Page,        ///< notebook page on show
    WindowState, ///< normal, minimized, maximized
    Caption,     ///< caption or text of a control
    Visible,     ///< shown or hidden
    Wait,        ///< wait indicator started or stopped
    Cursor,      ///< screen cursor
    Forms,       ///< a form was created or destroyed
    Repaint,     ///< the form asked to be repainted
    Field,       ///< a field's display label or edit mask; TNotice::field says which
};

/// What happened to the rows shown, in a Data notice.
enum class RowChange {
    All,      ///< anything may have changed: read every row again
    Inserted, ///< a row was added at TNotice::row; rows from there on moved down by one
    Removed,  ///< the row at TNotice::row went away; rows below it moved up by one
    Changed,  ///< values of the row at TNotice::row changed (TNotice::field; null: any)
};

/// Which property changed, in a Columns or Field notice.
enum class Property {
    None,
    Added,        ///< a column was added at TNotice::column
    Title,        ///< a column's title (also when the title follows a field's display label)
    Width,        ///< a column's width
    ReadOnly,     ///< a column's read-only flag, or the grid's when TNotice::column is -1
    PickList,     ///< a column's pick list (and with it whether its drop-down button shows)
    ButtonStyle,  ///< a column's button style
    Alignment,    ///< a column's alignment
    DisplayLabel, ///< a field's display label
    EditMask,     ///< a field's edit mask
};

/// One announcement: the kind of change and, where the kind has them, its particulars.
/// Rows are 0-based indexes among the rows shown (a row being inserted included).
struct TNotice {
    Change what = Change::Repaint;
    /// Data, State, Current and Field notices: the dataset concerned.
    const TClientDataSet* dataSet = nullptr;
    /// Data notices: what happened to the rows.
    RowChange rows = RowChange::All;
    /// Data (Inserted, Removed, Changed) and Current notices: the row; -1 when none.
    int row = -1;
    /// Data (Changed) and Field notices: the field; null when the whole row changed.
    const TField* field = nullptr;
    /// Column and Columns notices: the column; -1 for the grid as a whole.
    int column = -1;
    /// Columns and Field notices: the property that changed.
    Property property = Property::None;
};

class TObservable;
/// Told only the kind of change.
using Observer = std::function<void(TObservable&, Change)>;
/// Told the whole notice.
using NoticeObserver = std::function<void(TObservable&, const TNotice&)>;

/// Announces changes to observers so that a front-end repaints without polling.
///
/// An observer that raises does not stop the announcement nor the operation that made it:
/// the first failure is kept and reported once, through the reporter set with
/// SetObserverErrorReporter, when the outermost TNoticeScope ends (at once outside any).
class TObservable {
public:
    TObservable() = default;
    TObservable(const TObservable&) = delete;
    TObservable& operator=(const TObservable&) = delete;
    virtual ~TObservable() = default;

    /// Registers an observer of the kind of change; returns a ticket for Unsubscribe.
    int Subscribe(Observer observer);
    /// Registers an observer of whole notices; returns a ticket for Unsubscribe.
    int Observe(NoticeObserver observer);
    /// Removes the observer registered under ticket.
    void Unsubscribe(int ticket) { observers_.erase(ticket); }

protected:
    /// Tells every observer what changed.
    void Notify(Change what) { Notify(TNotice{what}); }
    /// Tells every observer the notice.
    void Notify(const TNotice& notice);

private:
    std::map<int, NoticeObserver> observers_;
    int lastTicket_ = 0;
};

/// While one exists, failures of observers are kept, to be reported when the outermost ends:
/// an operation that announces changes runs to its end whatever its observers do.
class TNoticeScope {
public:
    TNoticeScope();
    ~TNoticeScope();
    TNoticeScope(const TNoticeScope&) = delete;
    TNoticeScope& operator=(const TNoticeScope&) = delete;
};

/// Sets who reports an observer's failure (the application shows it as an error); null
/// goes back to the default, which writes the failure to standard error.
void SetObserverErrorReporter(std::function<void(std::exception_ptr)> reporter);

} // namespace plat
