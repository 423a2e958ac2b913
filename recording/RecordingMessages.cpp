// One recording-error box at a time; the rest go to the event log.
#include "recording/RecordingMessages.h"

namespace app {

std::string MessageLogRow(const std::string& text) { return text.substr(0, text.find('\n')); }

void RecordingMessages::Log(const std::string& text) const {
    if (hooks.log) hooks.log(MessageLogRow(text));
}

void RecordingMessages::Raise(const std::string& text) {
    if (boxOpen_) {
        Log(text);
        return;
    }
    queued_.push_back(text);
    if (hooks.post) hooks.post();
}

void RecordingMessages::ShowNext() {
    if (queued_.empty()) return;
    const std::string text = queued_.front();
    queued_.pop_front();
    if (boxOpen_ || !hooks.showBox) {
        Log(text);
        return;
    }
    struct Open {
        bool& flag;
        ~Open() { flag = false; }
    } open{boxOpen_};
    boxOpen_ = true;
    hooks.showBox(text);
}

}  // namespace app
