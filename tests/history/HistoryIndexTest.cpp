// The index file: what it writes reads back exactly; anything else (cut short, altered, another
// version, line ends changed by an editor, random bytes) is refused as a whole.
#include <gtest/gtest.h>

#include <random>

#include "history/HistoryIndex.h"

namespace app {
namespace {

HistoryIndex Sample() {
    HistoryIndex index;
    IndexedGroup& a = index["20240506_123456.csv"];
    a.files = {{"20240506_123456.csv", 1234567, 133600000001234567}, {"20240506_123456-1.csv", 42, -5}};
    TriggerEvent e;
    e.group = "20240506_123456.csv";
    e.files = {"20240506_123456.csv", "20240506_123456-1.csv"};
    e.startTime = FileNameTime("20240506_123456");
    e.samples = 20;
    e.peak[0] = 0.1;
    e.peak[1] = 1234.500001;
    e.peak[2] = 1e-300;
    e.vectorPeak = 1234.5;
    e.hasIntensity = true;
    e.intensityTenths = -3;
    a.events.push_back(e);
    IndexedGroup& b = index["20240507_000000.csv"];
    b.files = {{"20240507_000000.csv", 99, 7}};
    e.group = "20240507_000000.csv";
    e.files = {e.group};
    e.startTime = 0;
    e.hasIntensity = false;
    b.events.push_back(e);
    index["データ.csv"].files = {{"データ.csv", 0, 0}};  // code page 932 name, no events
    return index;
}

TEST(HistoryIndex, ReadsBackWhatItWrote) {
    const HistoryIndex index = Sample();
    const std::string bytes = FormatHistoryIndex(index);
    const std::optional<HistoryIndex> back = ParseHistoryIndex(bytes);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 3u);
    for (const auto& entry : index) {
        const IndexedGroup& got = back->at(entry.first);
        EXPECT_EQ(got.files, entry.second.files);
        EXPECT_EQ(got.events, entry.second.events);
    }
    EXPECT_TRUE(ParseHistoryIndex(FormatHistoryIndex(HistoryIndex{})));
}

TEST(HistoryIndex, RefusesAnythingElse) {
    const std::string bytes = FormatHistoryIndex(Sample());
    // Cut short anywhere.
    for (std::size_t n = 0; n < bytes.size(); ++n) EXPECT_FALSE(ParseHistoryIndex(bytes.substr(0, n))) << n;
    // Any single byte changed.
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::string changed = bytes;
        changed[i] = static_cast<char>(changed[i] ^ 0x01);
        EXPECT_FALSE(ParseHistoryIndex(changed)) << i;
    }
    // An editor's line ends, a line added at the end, another version.
    std::string lf = bytes;
    for (std::size_t p; (p = lf.find("\r\n")) != std::string::npos;) lf.erase(p, 1);
    EXPECT_FALSE(ParseHistoryIndex(lf));
    EXPECT_FALSE(ParseHistoryIndex(bytes + "\r\n"));
    EXPECT_FALSE(ParseHistoryIndex("QUORVEL TRIGGER HISTORY 2" + bytes.substr(bytes.find("\r\n"))));
}

// Seals a body with its END line as the format defines it (line count, FNV-1a of the body).
std::string Sealed(const std::string& body) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : body) {
        h ^= c;
        h *= 16777619u;
    }
    long long lines = 0;
    for (std::size_t p = 0; (p = body.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
    char end[64];
    std::snprintf(end, sizeof end, "END\t%lld\t%08lx\r\n", lines, static_cast<unsigned long>(h));
    return body + end;
}

TEST(HistoryIndex, RefusesConsistentLookingNonsense) {
    // Well-formed lines with a correct checksum but impossible content are refused too.
    const std::string head = "QUORVEL TRIGGER HISTORY 1\r\nG\ta.csv\ta.csv\t1\t2\r\n";
    const std::string good = "E\t0\t5\t1\t2\t3\t4\t-\ta.csv\r\n";
    EXPECT_TRUE(ParseHistoryIndex(Sealed(head + good)));
    for (const char* bad : {
             "E\t0\t5\t1\t2\t3\t4\t-\tb.csv\r\n",       // a file not in the group
             "E\t0\t-5\t1\t2\t3\t4\t-\ta.csv\r\n",      // negative sample count
             "E\t0\t5\tnan\t2\t3\t4\t-\ta.csv\r\n",     // not a number
             "E\t-1\t5\t1\t2\t3\t4\t-\ta.csv\r\n",      // negative time
             "E\t0\t5\t1\t2\t3\t4\t99999\ta.csv\r\n",   // intensity out of range
             "G\ta.csv\ta.csv\t1\t2\r\n",                  // the same group twice
         })
        EXPECT_FALSE(ParseHistoryIndex(Sealed(head + bad))) << bad;
    EXPECT_FALSE(ParseHistoryIndex(Sealed(head + good + good)));  // two recordings in one group
    EXPECT_FALSE(ParseHistoryIndex(Sealed("QUORVEL TRIGGER HISTORY 1\r\n" + good)));
    EXPECT_FALSE(ParseHistoryIndex(Sealed("QUORVEL TRIGGER HISTORY 1\r\nG\ta.csv\tb.csv\t1\t2\r\n")));
}

TEST(HistoryIndex, EditedButResealedIsReadOnlyAsItsOwnBytes) {
    // Edits under a valid seal: whatever is accepted must be exactly what the writer makes of it.
    std::mt19937 rng(5);
    const std::string bytes = FormatHistoryIndex(Sample());
    const std::string body = bytes.substr(0, bytes.rfind("END\t"));
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string fuzzed = body;
        for (int e = 1 + static_cast<int>(rng() % 3); e > 0 && !fuzzed.empty(); --e) {
            const std::size_t at = rng() % fuzzed.size();
            switch (rng() % 3) {
            case 0: fuzzed[at] = "0123456789.-+e\tx"[rng() % 16]; break;
            case 1: fuzzed.erase(at, 1 + rng() % 3); break;
            default: fuzzed.insert(at, 1, "\t\r\nEG-0+. "[rng() % 10]); break;
            }
        }
        const std::string sealed = Sealed(fuzzed);
        if (const std::optional<HistoryIndex> index = ParseHistoryIndex(sealed)) {
            ++accepted;
            EXPECT_EQ(FormatHistoryIndex(*index), sealed);
        }
    }
    EXPECT_GT(accepted, 100) << "too few edits kept the index readable to test anything";
}

}  // namespace
}  // namespace app
