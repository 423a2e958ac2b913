// The portable file engine on its own: in-place edits, damaged files and a bounded fuzz.
#include "TestFiles.h"
#include "config/FileProfileStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace {

std::string Get(const std::string& text, const char* section, const char* key,
                const char* def = "<def>") {
    char buffer[256];
    unsigned n = profile_text::GetString(text, section, key, def, buffer, sizeof buffer);
    EXPECT_EQ(n, std::strlen(buffer));
    return buffer;
}

// CR, LF and CR LF each end a line; an edit keeps a line's own end and adds lines in the style of
// the file's first line end.
TEST(FileEngine, MixedAndCrOnlyLineEnds) {
    const std::string mixed = "[A]\r\nx=1\ry=2\n[B]\rz=3";
    EXPECT_EQ(Get(mixed, "A", "x"), "1");
    EXPECT_EQ(Get(mixed, "A", "y"), "2");
    EXPECT_EQ(Get(mixed, "B", "z"), "3");
    EXPECT_EQ(profile_text::WriteString(mixed, "A", "y", "20"), "[A]\r\nx=1\ry=20\n[B]\rz=3");
    EXPECT_EQ(profile_text::WriteString(mixed, "A", "w", "4"), "[A]\r\nx=1\ry=2\nw=4\r\n[B]\rz=3");
    EXPECT_EQ(profile_text::WriteString(mixed, "B", "v", "5"), "[A]\r\nx=1\ry=2\n[B]\rz=3\r\nv=5\r\n");

    const std::string crOnly = "[A]\rx=1\r";
    EXPECT_EQ(profile_text::WriteString(crOnly, "A", "x", nullptr), "[A]\r");
    EXPECT_EQ(profile_text::WriteString(crOnly, "A", "y", "2"), "[A]\rx=1\ry=2\r");
    EXPECT_EQ(profile_text::WriteString(crOnly, "B", "z", "3"), "[A]\rx=1\r[B]\rz=3\r");
    EXPECT_EQ(profile_text::WriteString("[A]\rx=1", "A", "y", "2"), "[A]\rx=1\ry=2\r");
    EXPECT_EQ(profile_text::WriteSection(crOnly, "A", "p=1\0q=2\0"), "[A]\rp=1\rq=2\r");
}

TEST(FileEngine, EditsKeepEveryOtherByte) {
    const std::string text =
        "; top comment\n"
        "\n"
        "[A]   ; trailing words\n"
        "  x =  1\t\n"
        "\n"
        "y=2\r\n"
        "\r\n"
        "[B]\n"
        "z=3";
    std::string edited = profile_text::WriteString(text, "A", "y", "20");
    EXPECT_EQ(edited,
              "; top comment\n\n[A]   ; trailing words\n  x =  1\t\n\ny=20\r\n\r\n[B]\nz=3");
    edited = profile_text::WriteString(edited, "A", "w", "new");  // after the last entry
    EXPECT_EQ(edited,
              "; top comment\n\n[A]   ; trailing words\n  x =  1\t\n\ny=20\r\nw=new\r\n\r\n[B]\n"
              "z=3");
    edited = profile_text::WriteString(edited, "A", "X", nullptr);
    EXPECT_EQ(edited,
              "; top comment\n\n[A]   ; trailing words\n\ny=20\r\nw=new\r\n\r\n[B]\nz=3");
    edited = profile_text::WriteString(edited, "B", "z", "4");  // LF file keeps its line ends
    EXPECT_EQ(edited.substr(edited.size() - 7), "[B]\nz=4");
}

TEST(FileEngine, DeletingWhatIsNotThereChangesNothing) {
    const std::string text = "[A]\r\nx=1\r\n";
    EXPECT_EQ(profile_text::WriteString(text, "A", "nope", nullptr), text);
    EXPECT_EQ(profile_text::WriteString(text, "Nope", "x", nullptr), text);
    EXPECT_EQ(profile_text::WriteString(text, "Nope", nullptr, nullptr), text);
}

TEST(FileEngine, KeysBeforeTheFirstSectionFormTheNamelessSection) {
    EXPECT_EQ(Get("x=0\r\n[A]\r\nx=1\r\n", "", "x"), "0");
    EXPECT_EQ(Get("x=0\r\n[A]\r\nx=1\r\n", "A", "x"), "1");
}

TEST(FileEngine, DeleteFromMissingFileCreatesNoFile) {
    config_test::ScratchDir dir;
    std::string path = dir.NewPath();
    FileProfileStore store(path);
    EXPECT_TRUE(store.WriteString("A", "x", nullptr));
    EXPECT_FALSE(config_test::FileExists(path));
}

TEST(FileEngine, DamagedInputsReadSafely) {
    // Binary garbage, NULs included.
    std::mt19937 rng(99);
    std::string garbage(64 * 1024, '\0');
    for (char& c : garbage) c = static_cast<char>(rng());
    EXPECT_EQ(Get(garbage, "A", "x"), "<def>");
    std::string withKey = garbage + "\r\n[A]\r\nx=found\r\n";
    EXPECT_EQ(Get(withKey, "A", "x"), "found");
    EXPECT_EQ(Get(profile_text::WriteString(garbage, "A", "x", "w"), "A", "x"), "w");

    // A 1 MB line, as a value and as a line without '='.
    std::string big(1 << 20, 'v');
    std::string text = "[A]\r\nlong=" + big + "\r\n" + big + "\r\nx=1\r\n";
    EXPECT_EQ(Get(text, "A", "x"), "1");
    EXPECT_EQ(Get(text, "A", "long").size(), 255u);  // cut to the buffer
    std::vector<char> whole(big.size() + 16);
    unsigned n = profile_text::GetString(text, "A", "long", "", whole.data(),
                                         static_cast<unsigned>(whole.size()));
    EXPECT_EQ(n, big.size());

    // Lines without '=', unclosed headers, duplicate sections and keys.
    const std::string odd =
        "[A\r\nnoequals\r\n[A]\r\nnoequals\r\nx=first\r\nx=second\r\n[B]\r\n[A]\r\ny=other\r\n";
    EXPECT_EQ(Get(odd, "A", "noequals"), "<def>");
    EXPECT_EQ(Get(odd, "A", "x"), "first");
    EXPECT_EQ(Get(odd, "A", "y"), "<def>");  // the first [A] wins
    std::string edited = profile_text::WriteString(odd, "A", "y", "1");
    EXPECT_EQ(Get(edited, "A", "y"), "1");
    EXPECT_NE(edited.find("x=second\r\ny=1\r\n[B]"), std::string::npos);
}

TEST(FileEngine, TinyBuffersAreNeverOverrun) {
    const std::string text = "[A]\r\nkey=value\r\nk2=v2\r\n";
    for (unsigned size = 0; size < 24; ++size) {
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        unsigned n = profile_text::GetString(text, "A", "key", "dflt", buffer, size);
        EXPECT_EQ(buffer[size], '#') << size;
        if (size > 0) {
            EXPECT_EQ(n, std::strlen(buffer)) << size;
        }
        std::memset(buffer, '#', sizeof buffer);
        n = profile_text::GetSection(text, "A", buffer, size);
        EXPECT_EQ(buffer[size], '#') << size;
        EXPECT_LE(n + (size >= 2 ? 2 : 0), size + 1) << size;
    }
}

// Random texts built from INI-like fragments and random bytes; every write must read back and
// leave a second key alone, and no read may pass its buffer.
TEST(FileEngine, BoundedFuzzKeepsReadAfterWrite) {
    std::mt19937 rng(20260);
    const char* fragments[] = {"[A]", "[a]", "[B]", " [A ", "[", "]", "=", "x", "X=", "k=v",
                               "\r\n", "\n", "\r", " ", "\t", "\"", "'", ";", "\x82\xa0", "x=1"};
    const char* values[] = {"1", "", "two words", "\x93\xfa\x96\x7b", "a=b", "0,0,128"};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        int parts = static_cast<int>(rng() % 40);
        for (int i = 0; i < parts; ++i) {
            if (rng() % 5 == 0) {
                text += static_cast<char>(rng());
            } else {
                text += fragments[rng() % (sizeof fragments / sizeof *fragments)];
            }
        }
        text = profile_text::WriteString(text, "Keep", "canary", "alive");
        const char* value = values[rng() % (sizeof values / sizeof *values)];
        const char* section = rng() % 2 ? "A" : "b";
        std::string edited = profile_text::WriteString(text, section, "x", value);
        ASSERT_EQ(Get(edited, section, "x"), value) << round;
        ASSERT_EQ(Get(edited, "Keep", "canary"), "alive") << round;
        edited = profile_text::WriteString(edited, section, "x", nullptr);
        ASSERT_EQ(Get(edited, "Keep", "canary"), "alive") << round;

        char small[8];
        std::memset(small, '#', sizeof small);
        profile_text::GetSection(edited, section, small, 6);
        ASSERT_EQ(small[6], '#');
        std::memset(small, '#', sizeof small);
        profile_text::GetString(edited, "A", "k", "default", small, 5);
        ASSERT_EQ(small[5], '#');
    }
}

}  // namespace
