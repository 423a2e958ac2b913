// The recordings' messages: one box at a time; what comes while it is open goes to the log only.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "recording/RecordingMessages.h"

namespace {

// The panel as the messages see it: notices are counted when posted and handled by Dispatch,
// which a box's own message loop runs too, as the real box's loop does.
struct Panel {
    app::RecordingMessages messages;
    int posted = 0;
    std::vector<std::string> boxes, log;
    std::function<void()> whileOpen;  // what happens while the operator reads the box

    Panel() {
        messages.hooks.post = [this] { ++posted; };
        messages.hooks.showBox = [this](const std::string& text) {
            boxes.push_back(text);
            if (whileOpen) whileOpen();
            Dispatch();
        };
        messages.hooks.log = [this](const std::string& row) { log.push_back(row); };
    }
    void Dispatch() {
        while (posted > 0) {
            --posted;
            messages.ShowNext();
        }
    }
};

TEST(RecordingMessages, OneBoxAtATimeTheRestInTheLog) {
    Panel panel;
    // The data folder is gone: a trigger brings the Trig.dt message and FILE OPEN ERROR in one
    // batch, and the next triggers more while the first box waits for the operator.
    panel.whileOpen = [&panel] {
        panel.messages.Raise("FILE OPEN ERROR");
        panel.messages.Raise("ファイルの書き込みに失敗しました。\nこの記録のこれ以降のデータは保存されません。\nC:\\d\\a.csv");
    };
    panel.messages.Raise("Trig.dt ディレクトリの作成に失敗しました。");
    panel.messages.Raise("FILE OPEN ERROR");
    panel.Dispatch();
    EXPECT_EQ(panel.boxes, std::vector<std::string>{"Trig.dt ディレクトリの作成に失敗しました。"});
    // Raised while the box is open, then the one queued behind it, reached from the box's loop.
    EXPECT_EQ(panel.log, (std::vector<std::string>{"FILE OPEN ERROR", "ファイルの書き込みに失敗しました。",
                                                   "FILE OPEN ERROR"}));
    EXPECT_FALSE(panel.messages.BoxOpen());

    // Once answered, the next message has a box again.
    panel.whileOpen = nullptr;
    panel.messages.Raise("FILE OPEN ERROR");
    panel.Dispatch();
    EXPECT_EQ(panel.boxes.size(), 2u);
    EXPECT_EQ(panel.log.size(), 3u);
}

}  // namespace
