// CIniFile: list splitting, typed exchanges, list writers, conversion hooks and aliases.
#include "config/FileProfileStore.h"
#include "config/IniFile.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Split(const std::string& text) {
    FileProfileStore store = FileProfileStore::FromText("");
    CIniFile ini(store, "A");
    std::vector<std::string> pieces;
    int n = ini.SplitList(text, pieces);
    EXPECT_EQ(n, static_cast<int>(pieces.size()));
    return pieces;
}

using Pieces = std::vector<std::string>;

TEST(SplitList, FollowsTheQuotingRules) {
    EXPECT_EQ(Split(""), Pieces{});
    EXPECT_EQ(Split("a,b"), (Pieces{"a", "b"}));
    EXPECT_EQ(Split("a,b,"), (Pieces{"a", "b", ""}));
    EXPECT_EQ(Split(" a , b"), (Pieces{"a ", "b"}));       // blanks skipped before, never after
    EXPECT_EQ(Split("\t a,\tb"), (Pieces{"a", "b"}));      // tabs count as blanks
    EXPECT_EQ(Split("\"x,y\",z"), (Pieces{"x,y", "z"}));
    EXPECT_EQ(Split("\"x,y\""), (Pieces{"x,y\""}));        // runs to the end: keeps its quote
    EXPECT_EQ(Split("\"ab\"cd,e"), (Pieces{"ab", "e"}));   // text after the last quote dropped
    EXPECT_EQ(Split("a\",b"), (Pieces{"a", "b"}));         // quote + separator ends any piece
    EXPECT_EQ(Split("a\"b,c"), (Pieces{"a\"b", "c"}));     // other quotes are plain characters
    EXPECT_EQ(Split("\"\"\"\",x"), (Pieces{"\"\"", "x"}));  // doubled quotes are not special
    EXPECT_EQ(Split(","), (Pieces{"", ""}));
    EXPECT_EQ(Split("  "), (Pieces{""}));
}

TEST(SplitList, MaximumCountStopsEarly) {
    FileProfileStore store = FileProfileStore::FromText("");
    CIniFile ini(store, "A");
    std::string out[3] = {"keep", "keep", "keep"};
    EXPECT_EQ(ini.SplitList("1,2,3,4", out, 2), 2);
    EXPECT_EQ(out[1], "2");
    EXPECT_EQ(out[2], "keep");
    EXPECT_EQ(ini.SplitList("1,2", out, 0), 0);
    EXPECT_EQ(ini.SplitList("1,2", out, -1), 0);
    EXPECT_EQ(ini.SplitList("", out, 3), 0);
}

TEST(SplitList, PiecesPassThroughTheAliasTable) {
    FileProfileStore store = FileProfileStore::FromText("");
    CIniFile ini(store, "A");
    ini.aliases.push_back({"ON", "1"});
    ini.aliases.push_back({"on", "2"});  // exact, case-sensitive comparison
    EXPECT_EQ(Split("ON,on"), (Pieces{"ON", "on"}));  // a plain object maps nothing
    std::vector<std::string> pieces;
    ini.SplitList("ON,on,x", pieces);
    EXPECT_EQ(pieces, (Pieces{"1", "2", "x"}));
}

TEST(SplitList, RandomTextsNeverBreakTheBounds) {
    std::mt19937 rng(12345);
    const char alphabet[] = {'a', ',', '"', ' ', '\t', 'b', '\x82'};
    FileProfileStore store = FileProfileStore::FromText("");
    CIniFile ini(store, "A");
    for (int round = 0; round < 5000; ++round) {
        std::string text(rng() % 24, 'a');
        for (char& c : text) c = alphabet[rng() % sizeof alphabet];
        std::vector<std::string> all;
        int n = ini.SplitList(text, all);
        ASSERT_LE(n, static_cast<int>(text.size()) + 1) << text;
        size_t chars = 0;
        for (const std::string& p : all) chars += p.size();
        ASSERT_LE(chars, text.size()) << text;
        std::string limited[4];
        int m = ini.SplitList(text, limited, 4);
        ASSERT_EQ(m, std::min(n, 4)) << text;
        for (int i = 0; i < m; ++i) ASSERT_EQ(limited[i], all[static_cast<size_t>(i)]) << text;
        if (text.find('"') == std::string::npos && !text.empty()) {
            ASSERT_EQ(n, static_cast<int>(std::count(text.begin(), text.end(), ',')) + 1) << text;
        }
    }
}

// A CIniFile on INI text in memory with one section "S".
class Exchange : public ::testing::Test {
protected:
    CIniFile& On(const std::string& body) {
        store_ = std::make_unique<FileProfileStore>(FileProfileStore::FromText("[S]\r\n" + body));
        ini_ = std::make_unique<CIniFile>(*store_, "S");
        return *ini_;
    }
    int LoadInt(const std::string& line, int def = -7) {
        int field = 99;
        On(line).ExchangeInt(0, "K", field, def);
        return field;
    }
    double LoadDouble(const std::string& line, double def = -7.5) {
        double field = 99;
        On(line).ExchangeDouble(0, "K", field, def);
        return field;
    }
    std::unique_ptr<FileProfileStore> store_;
    std::unique_ptr<CIniFile> ini_;
};

TEST_F(Exchange, IntParsesLikeStrtolWithBaseZero) {
    EXPECT_EQ(LoadInt("K=  42\r\n"), 42);
    EXPECT_EQ(LoadInt("K=\"  42\"\r\n"), 42);  // blanks kept inside quotes, skipped by the parser
    EXPECT_EQ(LoadInt("K=0x1F\r\n"), 31);
    EXPECT_EQ(LoadInt("K=017\r\n"), 15);
    EXPECT_EQ(LoadInt("K=010\r\n"), 8);
    EXPECT_EQ(LoadInt("K=abc\r\n"), 0);
    EXPECT_EQ(LoadInt("K=-12xyz\r\n"), -12);
    EXPECT_EQ(LoadInt("K=\r\n"), -7);       // empty: the default
    EXPECT_EQ(LoadInt("other=1\r\n"), -7);  // missing: the default
    EXPECT_EQ(LoadInt("K=99999999999\r\n"), 2147483647);
    EXPECT_EQ(LoadInt("K=-99999999999\r\n"), -2147483647 - 1);
}

TEST_F(Exchange, DoubleTakesTheLeadingDecimalNumber) {
    EXPECT_EQ(LoadDouble("K=1e3\r\n"), 1000.0);
    EXPECT_EQ(LoadDouble("K=.5\r\n"), 0.5);
    EXPECT_EQ(LoadDouble("K=x\r\n"), 0.0);
    EXPECT_EQ(LoadDouble("K=2.5e\r\n"), 2.5);
    EXPECT_EQ(LoadDouble("K=-3.25abc\r\n"), -3.25);
    EXPECT_EQ(LoadDouble("K=0x10\r\n"), 0.0);  // decimal only, in every build
    EXPECT_EQ(LoadDouble("K=inf\r\n"), 0.0);
    EXPECT_EQ(LoadDouble("K=nan\r\n"), 0.0);
    EXPECT_EQ(LoadDouble("K=\r\n"), -7.5);
}

TEST_F(Exchange, StringTellsEmptyFromMissing) {
    std::string field = "old";
    On("K=\r\n").ExchangeString(0, "K", field, "COM1");
    EXPECT_EQ(field, "");
    On("").ExchangeString(0, "K", field, "COM1");
    EXPECT_EQ(field, "COM1");
}

TEST_F(Exchange, IntTripleFillsOnlyThePiecesPresent) {
    std::array<int, 3> field = {7, 8, 9};
    On("K=10,20\r\n").ExchangeIntTriple(0, "K", field, "1,2,3");
    EXPECT_EQ(field, (std::array<int, 3>{10, 20, 9}));
    On("K=1,2,3,4\r\n").ExchangeIntTriple(0, "K", field, "0,0,0");
    EXPECT_EQ(field, (std::array<int, 3>{1, 2, 3}));
    On("").ExchangeIntTriple(0, "K", field, "0,0,128");
    EXPECT_EQ(field, (std::array<int, 3>{0, 0, 128}));
}

TEST_F(Exchange, DoubleListReadsBlankSeparatedValues) {
    double field[8] = {};
    On("K=1, 2, 3, 4, 5, 6, 7, 8.5\r\n").ExchangeDoubleList(0, "K", field, 8, "");
    EXPECT_EQ(field[0], 1.0);
    EXPECT_EQ(field[7], 8.5);
    double two[2] = {-1, -1};
    On("K=1,2,3\r\n").ExchangeDoubleList(0, "K", two, 0, "");
    EXPECT_EQ(two[0], -1);
}

TEST_F(Exchange, SaveWritesTheFormattedValues) {
    CIniFile& ini = On("");
    int i = 16;
    double d = 1.0;
    std::string s = "COM3";
    std::array<int, 3> c = {0, 0, 128};
    double list[3] = {0.125, 0.125, 0.125};
    ini.ExchangeInt(1, "I", i, 0);
    ini.ExchangeDouble(1, "D", d, 0);
    ini.ExchangeString(1, "S", s, "");
    ini.ExchangeIntTriple(1, "C", c, "");
    ini.ExchangeDoubleList(1, "L", list, 3, "");
    EXPECT_EQ(store_->Text(),
              "[S]\r\nI=16\r\nD=1.0\r\nS=COM3\r\nC=0,0,128\r\nL=0.125,0.125,0.125\r\n");
}

TEST_F(Exchange, ListWritersJoinWithTheSeparator) {
    CIniFile& ini = On("");
    const int ints[3] = {0, 0, 128};
    const double doubles[2] = {2, 0.5};
    EXPECT_EQ(ini.WriteIntList("I", ints, 3), 3);
    EXPECT_EQ(ini.WriteDoubleList("D", doubles, 2), 2);
    EXPECT_EQ(ini.WriteIntList("E", ints, 0), 0);
    EXPECT_EQ(store_->Text(), "[S]\r\nI=0,0,128\r\nD=2.0,0.5\r\nE=\r\n");
    std::vector<int> back;
    ini.ReadIntList("I", back, "");
    EXPECT_EQ(back, (std::vector<int>{0, 0, 128}));
}

TEST(IniFile, ListWritersReportAFailedWrite) {
    FileProfileStore store("");  // no file: every write fails
    CIniFile ini(store, "S");
    const int ints[3] = {1, 2, 3};
    EXPECT_EQ(ini.WriteIntList("I", ints, 3), 0);
}

TEST(IniFile, HooksReplaceTheConversionsOnEveryPath) {
    FileProfileStore store = FileProfileStore::FromText("[S]\r\nI=seven\r\nL=a,b\r\n");
    CIniFile ini(store, "S");
    ini.strToIntHook = [](const std::string& t) { return t == "seven" ? 7 : -1; };
    ini.intToStrHook = [](int v) { return "#" + std::to_string(v); };
    ini.doubleToStrHook = [](double) { return std::string("D"); };
    int i = 0;
    ini.ExchangeInt(0, "I", i, 0);
    EXPECT_EQ(i, 7);
    std::vector<int> list;
    ini.ReadIntList("L", list, "");
    EXPECT_EQ(list, (std::vector<int>{-1, -1}));
    ini.ExchangeInt(1, "I", i, 0);
    const double d[2] = {1, 2};
    ini.WriteDoubleList("L", d, 2);
    EXPECT_EQ(store.Text(), "[S]\r\nI=#7\r\nL=D,D\r\n");
}

TEST(IniFile, AliasesTranslateBothWays) {
    FileProfileStore store = FileProfileStore::FromText("[S]\r\nMODE=auto\r\n");
    CIniFile ini(store, "S");
    ini.aliases.push_back({"auto", "1"});
    ini.aliases.push_back({"fixed", "0"});
    int mode = -1;
    ini.ExchangeInt(0, "MODE", mode, 5);
    EXPECT_EQ(mode, 1);
    mode = 0;
    ini.ExchangeInt(1, "MODE", mode, 5);
    EXPECT_EQ(store.Text(), "[S]\r\nMODE=fixed\r\n");
    EXPECT_EQ(ini.MapFromFile("other"), "other");
}

// A store that claims every buffer is full: the growing read must still end.
class AlwaysFullStore : public IProfileStore {
public:
    unsigned GetString(const char*, const char*, const char*, char* buffer, unsigned size) override {
        std::fill(buffer, buffer + size - 1, 'x');
        buffer[size - 1] = '\0';
        ++calls;
        return size + 10;  // even a count beyond the buffer
    }
    bool WriteString(const char*, const char*, const char*) override { return false; }
    unsigned GetSection(const char*, char*, unsigned) override { return 0; }
    bool WriteSection(const char*, const char*) override { return false; }
    const std::string& Path() const override { return path; }
    std::string path = "x";
    int calls = 0;
};

TEST(IniFile, GrowingReadIsBounded) {
    AlwaysFullStore store;
    CIniFile ini(store, "S");
    std::string text = ini.ReadString("S", "K", "");
    EXPECT_GT(store.calls, 1);
    EXPECT_LT(store.calls, 20);
    EXPECT_EQ(text.size() + 1, size_t{1} << 26);
}

}  // namespace
