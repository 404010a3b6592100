#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace plat {

enum class TMsgDlgType { Warning, Error, Information, Confirmation, Custom };
enum class TMsgDlgBtn { Yes, No, OK, Cancel, Abort, Retry, Ignore, All, NoToAll, YesToAll, Help };
using TMsgDlgButtons = std::vector<TMsgDlgBtn>;
enum class TModalResult { None, OK, Cancel, Abort, Retry, Ignore, Yes, No, All, NoToAll, YesToAll };

/// Message dialogs behind one interface: the desktop host shows them, the headless host records
/// them.
class IDialogs {
public:
    virtual ~IDialogs() = default;
    /// Shows text as an error and returns when the user has read it.
    virtual void ShowError(const std::string& text) = 0;
    /// Asks a modal question with exactly the given buttons; returns the button pressed
    /// (TModalResult::None or Cancel when the dialog was closed otherwise).
    virtual TModalResult Ask(const std::string& text, TMsgDlgType type,
                             const TMsgDlgButtons& buttons, int helpContext) = 0;
};

/// One dialog as the headless implementation saw it.
struct DialogRecord {
    enum class Kind { Error, Question };
    Kind kind = Kind::Error;
    std::string text;
    TModalResult answer = TModalResult::None; ///< questions only
    bool unanswered = false;                  ///< no answer was queued: counted as No
    TMsgDlgType type = TMsgDlgType::Error;    ///< dialog type the question asked for
    TMsgDlgButtons buttons;                   ///< buttons the question offered
    int helpContext = 0;                      ///< help context the question carried
};

/// Records every dialog and answers questions from a queue filled in advance.
class HeadlessDialogs : public IDialogs {
public:
    void ShowError(const std::string& text) override;
    TModalResult Ask(const std::string& text, TMsgDlgType type, const TMsgDlgButtons& buttons,
                     int helpContext) override;

    /// The answer the user will give to the next question (answers queue).
    void QueueAnswer(TModalResult answer) { answers_.push_back(answer); }
    std::size_t PendingAnswers() const { return answers_.size(); }
    const std::vector<DialogRecord>& Transcript() const { return transcript_; }
    void ClearTranscript() { transcript_.clear(); }
    /// Called for every dialog as it happens, so a transcript can interleave it with other output.
    std::function<void(const DialogRecord&)> OnRecord;

private:
    void Record(DialogRecord record);
    std::deque<TModalResult> answers_;
    std::vector<DialogRecord> transcript_;
};

} // namespace plat
