// Behaviour of the profile stores: the portable file engine and (Win32 tree) the platform's
// private-profile functions run the same cases and must agree.
#include "TestFiles.h"
#include "config/FileProfileStore.h"
#include "config/IniFile.h"
#ifdef QUORVEL_TEST_WIN32_PROFILE
#include "config/Win32ProfileStore.h"
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace {

using config_test::FileExists;
using config_test::ReadBytes;
using config_test::ScratchDir;
using config_test::WriteBytes;

struct FileEngine {
    static std::unique_ptr<IProfileStore> Open(const std::string& path) {
        return std::make_unique<FileProfileStore>(path);
    }
};
#ifdef QUORVEL_TEST_WIN32_PROFILE
struct PlatformEngine {
    static std::unique_ptr<IProfileStore> Open(const std::string& path) {
        return std::make_unique<Win32ProfileStore>(path);
    }
};
#endif

// What GetString gave: the count and the NUL-terminated text, and whether the bytes after the
// buffer were left alone.
struct Read {
    unsigned count;
    std::string text;
    bool withinBuffer;
};

template <typename Engine>
class ProfileStoreBehaviour : public ::testing::Test {
protected:
    // A store on a new file holding `contents` (no file at all when `contents` is null).
    IProfileStore& Store(const char* contents) {
        path_ = dir_.NewPath();
        if (contents) WriteBytes(path_, contents);
        store_ = Engine::Open(path_);
        return *store_;
    }
    Read Get(const char* section, const char* key, const char* def, unsigned size = 256) {
        char buffer[600];
        std::memset(buffer, '#', sizeof buffer);
        unsigned n = store_->GetString(section, key, def, buffer, size);
        bool within = buffer[size] == '#';
        return Read{n, std::string(buffer, std::strlen(buffer)), within};
    }
    // The section list with its NULs shown as '|'.
    std::pair<unsigned, std::string> Section(const char* section, unsigned size) {
        char buffer[600];
        std::memset(buffer, '#', sizeof buffer);
        unsigned n = store_->GetSection(section, buffer, size);
        std::string shown;
        for (unsigned i = 0; i < n + 2 && i < size; ++i) shown += buffer[i] ? buffer[i] : '|';
        if (!shown.empty() && shown.back() == '#') shown.pop_back();  // untouched byte
        EXPECT_EQ(buffer[size], '#');
        return {n, shown};
    }
    std::string Bytes() const { return ReadBytes(path_); }

    ScratchDir dir_;
    std::string path_;
    std::unique_ptr<IProfileStore> store_;
};

#ifdef QUORVEL_TEST_WIN32_PROFILE
using Engines = ::testing::Types<FileEngine, PlatformEngine>;
#else
using Engines = ::testing::Types<FileEngine>;
#endif
TYPED_TEST_SUITE(ProfileStoreBehaviour, Engines);

constexpr const char* kSample =
    "[Sec]\r\n"
    "  k1  =  v1  \r\n"
    "q1=\"a b\"\r\n"
    "q2='c d'\r\n"
    "q3=\"x\r\n"
    "q4=\"\"\r\n"
    "q5=\" y \" \r\n"
    "noeq\r\n"
    ";c=1\r\n"
    "EMPTY=\r\n"
    "e2 =   \r\n"
    "k1=second\r\n"
    "kk=a=b\r\n"
    "  [ Sp ]  \r\n"
    "z=1\r\n"
    "[Sec]\r\n"
    "dup=1\r\n"
    "[Tail] junk\r\n"
    "t=2\r\n";

TYPED_TEST(ProfileStoreBehaviour, ReadsValuesTrimmedAndUnquoted) {
    this->Store(kSample);
    auto expect = [&](const char* sec, const char* key, const char* text) {
        Read r = this->Get(sec, key, "d");
        EXPECT_EQ(r.text, text) << sec << "/" << key;
        EXPECT_EQ(r.count, std::strlen(text)) << sec << "/" << key;
    };
    expect("Sec", "k1", "v1");      // blanks around key and value; the first entry wins
    expect("sec", "K1", "v1");      // names ignore ASCII case
    expect("Sec", " k1 ", "v1");    // blanks around the asked name
    expect("Sec", "q1", "a b");     // one pair of double quotes removed
    expect("Sec", "q2", "c d");     // single quotes too
    expect("Sec", "q3", "\"x");     // an unmatched quote stays
    expect("Sec", "q4", "");
    expect("Sec", "q5", " y ");     // blanks inside the quotes stay
    expect("Sec", "noeq", "d");     // a line without '=' has no value
    expect("Sec", ";c", "1");       // ';' lines are plain entries for a key read
    expect("Sec", "EMPTY", "");     // present but empty is not the default
    expect("Sec", "e2", "");
    expect("Sec", "kk", "a=b");     // the value starts after the first '='
    expect("Sec", "dup", "d");      // only the first section of a name is read
    expect("Sp", "z", "1");         // section names are trimmed
    expect("Tail", "t", "2");       // text after ']' is ignored
    expect("Nope", "k", "d");
}

TYPED_TEST(ProfileStoreBehaviour, DefaultLosesTrailingBlanksAndQuotes) {
    this->Store(kSample);
    EXPECT_EQ(this->Get("Sec", "missing", "  def  ").text, "  def");
    EXPECT_EQ(this->Get("Sec", "missing", "\"qd\"").text, "qd");
    Read none = this->Get("Sec", "missing", nullptr);
    EXPECT_EQ(none.text, "");
    EXPECT_EQ(none.count, 0u);
}

TYPED_TEST(ProfileStoreBehaviour, TruncatedReadsReturnSizeMinusOne) {
    this->Store(kSample);
    Read fits = this->Get("Sec", "k1", "d", 3);
    EXPECT_EQ(fits.text, "v1");
    EXPECT_EQ(fits.count, 2u);
    Read cut = this->Get("Sec", "k1", "d", 2);
    EXPECT_EQ(cut.text, "v");
    EXPECT_EQ(cut.count, 1u);
    EXPECT_TRUE(cut.withinBuffer);
    Read one = this->Get("Sec", "k1", "d", 1);
    EXPECT_EQ(one.text, "");
    EXPECT_EQ(one.count, 0u);
    Read def = this->Get("Sec", "missing", "default", 4);
    EXPECT_EQ(def.text, "def");
    EXPECT_EQ(def.count, 3u);
    Read quoted = this->Get("Sec", "q1", "d", 3);
    EXPECT_EQ(quoted.text, "a ");
    EXPECT_EQ(quoted.count, 2u);
}

TYPED_TEST(ProfileStoreBehaviour, SectionListsEntriesAndCutsWithSizeMinusTwo) {
    this->Store(kSample);
    auto whole = this->Section("Sec", 256);
    EXPECT_EQ(whole.first, 78u);
    EXPECT_EQ(whole.second,
              "k1=v1|q1=\"a b\"|q2='c d'|q3=\"x|q4=\"\"|q5=\" y \"|noeq|EMPTY=|e2=|k1=second|"
              "kk=a=b||");
    auto cut = this->Section("Sec", 10);
    EXPECT_EQ(cut.first, 8u);
    EXPECT_EQ(cut.second, "k1=v1|q1||");
    EXPECT_EQ(this->Section("Sp", 4).first, 2u);
    EXPECT_EQ(this->Section("Sp", 4).second, "z=||");
    EXPECT_EQ(this->Section("Sp", 3).first, 1u);
    EXPECT_EQ(this->Section("Sp", 3).second, "z||");
}

TYPED_TEST(ProfileStoreBehaviour, WritesReplaceAppendAndDeleteInPlace) {
    IProfileStore& s = this->Store("[Sec]\r\nk1=v1\r\nk2=v2\r\n[B]\r\ny=2\r\n");
    ASSERT_TRUE(s.WriteString("Sec", "k1", "new"));
    EXPECT_EQ(this->Bytes(), "[Sec]\r\nk1=new\r\nk2=v2\r\n[B]\r\ny=2\r\n");
    ASSERT_TRUE(s.WriteString("sec", "k3", "v3"));  // at the end of its section
    EXPECT_EQ(this->Bytes(), "[Sec]\r\nk1=new\r\nk2=v2\r\nk3=v3\r\n[B]\r\ny=2\r\n");
    ASSERT_TRUE(s.WriteString("Sec", "K2", nullptr));
    EXPECT_EQ(this->Bytes(), "[Sec]\r\nk1=new\r\nk3=v3\r\n[B]\r\ny=2\r\n");
    ASSERT_TRUE(s.WriteString("New", "a", "1"));  // a new section at the end of the file
    EXPECT_EQ(this->Bytes(), "[Sec]\r\nk1=new\r\nk3=v3\r\n[B]\r\ny=2\r\n[New]\r\na=1\r\n");
    EXPECT_EQ(this->Get("Sec", "k2", "gone").text, "gone");
}

TYPED_TEST(ProfileStoreBehaviour, KeyKeepsItsSpellingWhenReplaced) {
    IProfileStore& s = this->Store("[A]\r\nKEY=v\r\n");
    ASSERT_TRUE(s.WriteString("a", "key", "w"));
    EXPECT_EQ(this->Bytes(), "[A]\r\nKEY=w\r\n");
}

TYPED_TEST(ProfileStoreBehaviour, FirstWriteCreatesTheFile) {
    IProfileStore& s = this->Store(nullptr);
    EXPECT_EQ(this->Get("S1", "a", "none").text, "none");
    ASSERT_TRUE(s.WriteString("S1", "a", "1"));
    EXPECT_EQ(this->Bytes(), "[S1]\r\na=1\r\n");
    ASSERT_TRUE(s.WriteString("S1", "b", "2"));
    ASSERT_TRUE(s.WriteString("S2", "c", "3"));
    ASSERT_TRUE(s.WriteString("S1", "d", "4"));
    EXPECT_EQ(this->Bytes(), "[S1]\r\na=1\r\nb=2\r\nd=4\r\n[S2]\r\nc=3\r\n");
}

TYPED_TEST(ProfileStoreBehaviour, EmptyValueIsKeptAndQuotedValueReadsUnquoted) {
    IProfileStore& s = this->Store("[A]\r\nx=1\r\n");
    ASSERT_TRUE(s.WriteString("A", "x", ""));
    ASSERT_TRUE(s.WriteString("A", "k", "\"quoted\""));
    EXPECT_EQ(this->Bytes(), "[A]\r\nx=\r\nk=\"quoted\"\r\n");
    EXPECT_EQ(this->Get("A", "x", "d").text, "");
    EXPECT_EQ(this->Get("A", "k", "d").text, "quoted");
}

TYPED_TEST(ProfileStoreBehaviour, UnterminatedLastLineGetsALineEndBeforeANewKey) {
    IProfileStore& s = this->Store("[A]\r\nx=abc");
    ASSERT_TRUE(s.WriteString("A", "y", "1"));
    EXPECT_EQ(this->Bytes(), "[A]\r\nx=abc\r\ny=1\r\n");
}

// Some editors end lines with CR alone; such a file reads like its CRLF form, and a write keeps
// it readable line by line by every reader (no mix of CR and CRLF line ends).
TYPED_TEST(ProfileStoreBehaviour, CrOnlyLinesReadAndWriteLikeCrLf) {
    IProfileStore& s = this->Store("[SPEC]\rCOM=COM3\rBIT=12\r[TRIG]\rVAL_X=7.5\r");
    EXPECT_EQ(this->Get("SPEC", "COM", "d").text, "COM3");
    EXPECT_EQ(this->Get("SPEC", "BIT", "d").text, "12");
    EXPECT_EQ(this->Get("TRIG", "VAL_X", "d").text, "7.5");
    EXPECT_EQ(this->Section("SPEC", 64).second, "COM=COM3|BIT=12||");

    ASSERT_TRUE(s.WriteString("SPEC", "BIT", "16"));
    ASSERT_TRUE(s.WriteString("SPEC", "LOG_LIST", "1"));
    ASSERT_TRUE(s.WriteString("SHIKI", "P", "2.0"));
    const std::string bytes = this->Bytes();
    const size_t crlf = [&] {
        size_t n = 0;
        for (size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2)) ++n;
        return n;
    }();
    const size_t lf = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    const size_t cr = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\r'));
    EXPECT_TRUE(lf == 0 || (crlf == cr && crlf == lf)) << "mixed line ends: " << bytes;
    FileProfileStore reread(this->path_);
    char buffer[32];
    reread.GetString("SPEC", "COM", "d", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "COM3");
    reread.GetString("SPEC", "BIT", "d", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "16");
    reread.GetString("SPEC", "LOG_LIST", "d", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "1");
    reread.GetString("TRIG", "VAL_X", "d", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "7.5");
    reread.GetString("SHIKI", "P", "d", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "2.0");
}

TYPED_TEST(ProfileStoreBehaviour, Cp932BytesPassThrough) {
    IProfileStore& s = this->Store("[A]\r\n日本KEY=振動\r\n");
    EXPECT_EQ(this->Get("A", "日本key", "d").text, "振動");
    ASSERT_TRUE(s.WriteString("A", "TITLE", "OSKAMO 振動波形解析プログラム"));
    EXPECT_EQ(this->Bytes(), "[A]\r\n日本KEY=振動\r\nTITLE=OSKAMO 振動波形解析プログラム\r\n");
}

TYPED_TEST(ProfileStoreBehaviour, WholeSectionIsReplaced) {
    IProfileStore& s = this->Store("[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
    ASSERT_TRUE(s.WriteSection("A", "p=1\0q=2\0"));
    EXPECT_EQ(this->Bytes(), "[A]\r\np=1\r\nq=2\r\n[B]\r\ny=2\r\n");
}

TYPED_TEST(ProfileStoreBehaviour, NullKeyDeletesTheSection) {
    IProfileStore& s = this->Store("[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
    ASSERT_TRUE(s.WriteString("A", nullptr, nullptr));
    EXPECT_EQ(this->Bytes(), "[B]\r\ny=2\r\n");
}

TYPED_TEST(ProfileStoreBehaviour, WriteIntoMissingFolderFails) {
    this->Store(nullptr);
    auto store = TypeParam::Open(this->dir_.Dir() + "/no/such/folder/x.ini");
    EXPECT_FALSE(store->WriteString("A", "x", "1"));
}

TYPED_TEST(ProfileStoreBehaviour, EmptyPathReadsDefaultsAndWritesNothing) {
    auto store = TypeParam::Open("");
    char buffer[32];
    EXPECT_EQ(store->GetString("A", "x", "dflt", buffer, sizeof buffer), 4u);
    EXPECT_STREQ(buffer, "dflt");
    EXPECT_FALSE(store->WriteString("A", "x", "1"));
}

TYPED_TEST(ProfileStoreBehaviour, LongValueIsReadWholeThroughTheGrowingBuffer) {
    IProfileStore& s = this->Store(nullptr);
    std::string value(20000, 'v');
    value[0] = 'a';
    value[19999] = 'z';
    ASSERT_TRUE(s.WriteString("A", "long", value.c_str()));
    CIniFile ini(s, "A");
    EXPECT_EQ(ini.ReadString("A", "long", ""), value);
    std::string exact(16383, 'e');  // fills the first buffer exactly
    ASSERT_TRUE(s.WriteString("A", "exact", exact.c_str()));
    EXPECT_EQ(ini.ReadString("A", "exact", ""), exact);
}

}  // namespace
