#include "app/Dialogs.h"

namespace plat {

void HeadlessDialogs::ShowError(const std::string& text) {
    DialogRecord record;
    record.kind = DialogRecord::Kind::Error;
    record.text = text;
    Record(std::move(record));
}

TModalResult HeadlessDialogs::Ask(const std::string& text, TMsgDlgType type,
                                  const TMsgDlgButtons& buttons, int helpContext) {
    DialogRecord record;
    record.kind = DialogRecord::Kind::Question;
    record.text = text;
    record.type = type;
    record.buttons = buttons;
    record.helpContext = helpContext;
    if (answers_.empty()) {
        // Nobody is there to press a button: the dialog counts as closed, which callers take
        // as No, so an unexpected question never lets an operation go ahead.
        record.answer = TModalResult::No;
        record.unanswered = true;
    } else {
        record.answer = answers_.front();
        answers_.pop_front();
    }
    const TModalResult answer = record.answer;
    Record(std::move(record));
    return answer;
}

void HeadlessDialogs::Record(DialogRecord record) {
    transcript_.push_back(record);
    // The handler gets its own copy: it may clear the transcript while it runs.
    if (OnRecord) OnRecord(record);
}

} // namespace plat
