// The recordings' messages for the operator ("FILE OPEN ERROR", the Trig.dt message, a failed
// write): one box at a time. A message raised while a box is open goes to the event log only, so
// a night of failing triggers leaves one box to answer, not hundreds nested in each other.
#pragma once

#include <deque>
#include <functional>
#include <string>

namespace app {

struct RecordingMessageHooks {
    std::function<void()> post;                           // ask for ShowNext outside the data handler
    std::function<void(const std::string& text)> showBox;  // modal; its loop may run Raise and ShowNext
    std::function<void(const std::string& row)> log;       // an event-log row
};

class RecordingMessages {
public:
    // A recording has a message (called inside the data handler): queued and posted, or logged
    // when a box is open.
    void Raise(const std::string& text);
    // The posted notice: the oldest queued message in a box, or in the log while a box is open.
    void ShowNext();
    bool BoxOpen() const { return boxOpen_; }

    RecordingMessageHooks hooks;

private:
    void Log(const std::string& text) const;

    std::deque<std::string> queued_;
    bool boxOpen_ = false;  // a box of ours is open (ShowNext is inside hooks.showBox)
};

// The log row of a message: its first line ("ファイルの書き込みに失敗しました。" of a failed write).
[[nodiscard]] std::string MessageLogRow(const std::string& text);

}  // namespace app
