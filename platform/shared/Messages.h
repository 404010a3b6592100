#pragma once
#include "app/Dialogs.h"
#include "core/Component.h"

#include <string>
#include <utility>
#include <vector>

namespace plat {

/// A keyed message catalogue: an ordered list of "key|text" lines holding every text a screen
/// shows. Keys are looked up without regard to ASCII letter case; the first match wins.
class TMessages : public TComponent {
public:
    TMessages(TComponent* owner, std::string name);

    /// Replaces the catalogue by the lines of a UTF-8 text; blank lines are skipped and a
    /// line without "|" is an error (the catalogue is then left as it was).
    void LoadFromText(const std::string& utf8);
    /// Replaces the catalogue by the lines of a UTF-8 file; throws when it cannot be read.
    void LoadFromFile(const std::string& path);
    /// The entries in catalogue order: key and text.
    const std::vector<std::pair<std::string, std::string>>& Lines() const { return lines_; }

    /// The text of the entry with key; a missing key comes back as the key itself, so the
    /// gap shows on the screen instead of an empty message.
    std::string Msg(const std::string& key) const;
    /// Asks the entry's text through the application's dialogs; returns the button pressed.
    TModalResult ShowMsg(const std::string& key, TMsgDlgType type, const TMsgDlgButtons& buttons,
                         int helpContext) const;

private:
    std::vector<std::pair<std::string, std::string>> lines_;
};

} // namespace plat
