#include "core/profile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <random>
#include <string>

#include "core/files.h"
#include "tests/support/child_run.h"
#include "tests/support/temp_dir.h"
#include "tests/support/profile_calls.h"

namespace galmora {

using testing::read_profile;
using testing::write_profile;
namespace {

using testing::TempDir;

class ProfileFile : public ::testing::Test {
  protected:
    Text path() const { return folder_.file_text("config.ini"); }
    void put(std::string_view contents) const {
        ASSERT_TRUE(write_file(path(), as_bytes(contents)));
    }
    std::string contents() const {
        const auto bytes = read_file(path());
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
    }
    Text read(std::string_view section, std::string_view key, std::string_view fallback = {}) {
        const Text direct = read_profile(path(), section, key, fallback);
        // The snapshot must always agree with a direct read.
        EXPECT_EQ(ProfileSnapshot::load(path()).value(section, key, fallback), direct)
            << "[" << section << "] " << key;
        return direct;
    }

    TempDir folder_;
};

using ReadProfile = ProfileFile;

TEST_F(ReadProfile, MatchesNamesCaseInsensitively) {
    put("[Images]\r\nNUM=5\r\n");
    EXPECT_EQ(read("images", "num"), "5");
    EXPECT_EQ(read("IMAGES", "Num"), "5");
    // Letters that are trail bytes of two-byte characters are not folded.
    put("[\xB0\x41]\r\nk=1\r\n");
    EXPECT_EQ(read("\xB0\x41", "k"), "1");
    EXPECT_EQ(read("\xB0\x61", "k"), "");
}

TEST_F(ReadProfile, TrimsWhiteSpaceAroundNamesAndValues) {
    put("  [ S ]  \r\n  key  =   two words \t\r\n");
    EXPECT_EQ(read("S", "key"), "two words");
    EXPECT_EQ(read("  S", " key"), "two words");
    EXPECT_EQ(read("S ", "key "), "two words");
}

TEST_F(ReadProfile, RemovesOnePairOfMatchingQuotes) {
    put("[q]\r\na=\"x y\"\r\nb='z'\r\nc=\"w'\r\nd=\"\r\ne=\"\"\r\nf= \"\"v\"\" \r\ng=x\"y\"\r\n");
    EXPECT_EQ(read("q", "a"), "x y");
    EXPECT_EQ(read("q", "b"), "z");
    EXPECT_EQ(read("q", "c"), "\"w'");
    EXPECT_EQ(read("q", "d"), "\"");
    EXPECT_EQ(read("q", "e"), "");
    EXPECT_EQ(read("q", "f"), "\"v\"");
    EXPECT_EQ(read("q", "g"), "x\"y\"");
}

TEST_F(ReadProfile, FirstOccurrenceWins) {
    put("[s]\r\nk=1\r\nK=2\r\n[other]\r\nk=3\r\n[S]\r\nk=4\r\nonly=5\r\n");
    EXPECT_EQ(read("s", "k"), "1");
    EXPECT_EQ(read("other", "k"), "3");
    // The second [S] is never read.
    EXPECT_EQ(read("s", "only"), "");
}

TEST_F(ReadProfile, CutsValuesTo10239Bytes) {
    put("[s]\r\nlong=" + std::string(20000, 'x') + "\r\nshort=" + std::string(10239, 'y') + "\r\n");
    EXPECT_EQ(read("s", "long"), std::string(10239, 'x'));
    EXPECT_EQ(read("s", "short"), std::string(10239, 'y'));
    EXPECT_EQ(read("s", "missing", std::string(10300, 'd')), std::string(10239, 'd'));
}

TEST_F(ReadProfile, TakesOnlyWholeLinesAsComments) {
    put("[s]\r\n;a=1\r\n   ;b=2\r\nc=3 ;not a comment\r\nd=;4\r\n");
    EXPECT_EQ(read("s", "a"), "");
    EXPECT_EQ(read("s", ";a"), "");
    EXPECT_EQ(read("s", "b"), "");
    EXPECT_EQ(read("s", "c"), "3 ;not a comment");
    EXPECT_EQ(read("s", "d"), ";4");
}

TEST_F(ReadProfile, ReadsHeadersUpToTheFirstClosingBracket) {
    put("[ x ] trailing text\r\nk=1\r\n[y]]\r\nk=2\r\n[broken\r\nb=3\r\n");
    EXPECT_EQ(read("x", "k"), "1");
    EXPECT_EQ(read("y", "k"), "2");
    EXPECT_EQ(read("y", "b"), "3");  // "[broken" is no header, so b=3 is still in [y]
    EXPECT_EQ(read("broken", "k"), "");
}

TEST_F(ReadProfile, IgnoresKeysBeforeTheFirstSectionAndLinesWithoutEquals) {
    put("k=0\r\n[s]\r\njust text\r\na = b = c\r\n");
    EXPECT_EQ(read("s", "k"), "");
    EXPECT_EQ(read("s", "just text"), "");
    EXPECT_EQ(read("s", "a"), "b = c");
}

TEST_F(ReadProfile, AcceptsEveryLineEnd) {
    put("[s]\nlf=1\rcr=2\r\ncrlf=3\n\r\n[t]\rk=4");
    EXPECT_EQ(read("s", "lf"), "1");
    EXPECT_EQ(read("s", "cr"), "2");
    EXPECT_EQ(read("s", "crlf"), "3");
    EXPECT_EQ(read("t", "k"), "4");
}

TEST_F(ReadProfile, BlankNamesReadAsEmptyEvenWithADefault) {
    put("[s]\r\nk=1\r\n");
    EXPECT_EQ(read("", "k", "def"), "");
    EXPECT_EQ(read("  \t", "k", "def"), "");
    EXPECT_EQ(read("s", " ", "def"), "");
    EXPECT_EQ(read_profile("  ", "s", "k", "def"), "");
    EXPECT_EQ(read_profile(" " + path(), "s", "k"), "1");
}

TEST_F(ReadProfile, FallsBackToTheDefaultWithoutTrailingBlanks) {
    EXPECT_EQ(read("s", "k", "  def  "), "  def");  // the file is missing
    put("[s]\r\nk=1\r\n");
    EXPECT_EQ(read("s", "other", "x "), "x");
    EXPECT_EQ(read("t", "k"), "");
    put("[s]\r\nempty=\r\n");
    EXPECT_EQ(read("s", "empty", "def"), "");  // found, and empty
}

TEST_F(ReadProfile, ByteOrderMarkIsNoPartOfTheFirstSection) {
    put("\xEF\xBB\xBF[NAME]\r\nname=2\r\n[images]\r\nnum=1\r\n");
    EXPECT_EQ(read("NAME", "name"), "2");
    EXPECT_EQ(read("images", "num"), "1");
    EXPECT_EQ(ProfileSnapshot::load(path()).section_names(), (std::vector<Text>{"NAME", "images"}));
    // Only a leading mark is taken away.
    put("[a]\r\n\xEF\xBB\xBF[b]\r\nk=1\r\n");
    EXPECT_EQ(read("b", "k"), "");
}

using WriteProfile = ProfileFile;

TEST_F(WriteProfile, KeepsAByteOrderMarkAndWritesIntoTheFirstSection) {
    put("\xEF\xBB\xBF[NAME]\r\nname=2\r\n");
    ASSERT_TRUE(write_profile(path(), "NAME", "name", "3"));
    ASSERT_TRUE(write_profile(path(), "images", "num", "0"));
    EXPECT_EQ(contents(), "\xEF\xBB\xBF[NAME]\r\nname=3\r\n[images]\r\nnum=0\r\n");
}

TEST_F(WriteProfile, CreatesAMissingFile) {
    ASSERT_TRUE(write_profile(path(), "NAME", "name", "0"));
    EXPECT_EQ(contents(), "[NAME]\r\nname=0\r\n");
    EXPECT_EQ(read("name", "NAME"), "0");
}

TEST_F(WriteProfile, AddsAKeyAfterTheLastKeyOfItsSection) {
    put("[a]\r\nx=1\r\n\r\n; note\r\n[b]\r\ny=2\r\n");
    ASSERT_TRUE(write_profile(path(), "A", "z", "3"));
    EXPECT_EQ(contents(), "[a]\r\nx=1\r\nz=3\r\n\r\n; note\r\n[b]\r\ny=2\r\n");
    put("[a]\r\n\r\n[b]\r\n");
    ASSERT_TRUE(write_profile(path(), "a", "k", "v"));
    EXPECT_EQ(contents(), "[a]\r\nk=v\r\n\r\n[b]\r\n");
}

TEST_F(WriteProfile, AddsASectionAtTheEnd) {
    put("[a]\r\nx=1");
    ASSERT_TRUE(write_profile(path(), "b", "y", "2"));
    EXPECT_EQ(contents(), "[a]\r\nx=1\r\n[b]\r\ny=2\r\n");
    put("");
    ASSERT_TRUE(write_profile(path(), "b", "y", "2"));
    EXPECT_EQ(contents(), "[b]\r\ny=2\r\n");
}

TEST_F(WriteProfile, ReplacesAValueInItsOwnLine) {
    put("[s]\r\nfirst=1\r\n  Key = old \r\nkey=second\r\nlast=3\r\n");
    ASSERT_TRUE(write_profile(path(), "S", "KEY", "new"));
    EXPECT_EQ(contents(), "[s]\r\nfirst=1\r\nKey=new\r\nkey=second\r\nlast=3\r\n");
    ASSERT_TRUE(write_profile(path(), "s", "key", ""));
    EXPECT_EQ(contents(), "[s]\r\nfirst=1\r\nKey=\r\nkey=second\r\nlast=3\r\n");
    EXPECT_EQ(read("s", "key", "def"), "");
}

TEST_F(WriteProfile, WritesNamesTrimmedAndTheValueAsGiven) {
    ASSERT_TRUE(write_profile(path(), " s ", "\tk ", "  spaced \"value\" "));
    EXPECT_EQ(contents(), "[s]\r\nk=  spaced \"value\" \r\n");
    EXPECT_EQ(read("s", "k"), "spaced \"value\"");
}

TEST_F(WriteProfile, KeepsOtherLinesAndEndsEveryLineWithCrLf) {
    put("; head\n[s]\nk=1\n\n[t]\rm=2");
    ASSERT_TRUE(write_profile(path(), "t", "m", "3"));
    EXPECT_EQ(contents(), "; head\r\n[s]\r\nk=1\r\n\r\n[t]\r\nm=3\r\n");
}

TEST_F(WriteProfile, RefusesTextThatWouldBreakTheFile) {
    put("[s]\r\nk=1\r\n");
    EXPECT_FALSE(write_profile(path(), "s", "k", "a\r\n[evil]\r\nx=1"));
    EXPECT_FALSE(write_profile(path(), "s]x", "k", "v"));
    EXPECT_FALSE(write_profile(path(), "s", "a=b", "v"));
    EXPECT_FALSE(write_profile(path(), "s", ";k", "v"));
    EXPECT_FALSE(write_profile(path(), " ", "k", "v"));
    EXPECT_FALSE(write_profile("", "s", "k", "v"));
    EXPECT_EQ(contents(), "[s]\r\nk=1\r\n");
}

TEST_F(WriteProfile, FailsWithoutAWritableFolderAndKeepsTheOldFile) {
    EXPECT_FALSE(write_profile(folder_.file_text("missing/config.ini"), "s", "k", "v"));
    put("[s]\r\nk=1\r\n");
    // A path below a file: its "folder" can never be written.
    EXPECT_FALSE(write_profile(path() + "/inner.ini", "s", "k", "v"));
    EXPECT_EQ(contents(), "[s]\r\nk=1\r\n");
}

TEST_F(WriteProfile, FailsInAReadOnlyFolderAndKeepsTheOldFile) {
    put("[s]\r\nk=1\r\n");
    ASSERT_EQ(::chmod(folder_.path().c_str(), 0555), 0);
    testing::run_unprivileged(folder_.path(),
                              [&] { EXPECT_FALSE(write_profile(path(), "s", "k", "2")); });
    ::chmod(folder_.path().c_str(), 0755);
    EXPECT_EQ(contents(), "[s]\r\nk=1\r\n");
}

TEST_F(WriteProfile, LeavesNoTemporaryFilesBehind) {
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(write_profile(path(), "s", "k", std::to_string(i)));
    const ProfileSnapshot snapshot = ProfileSnapshot::load(path());
    EXPECT_EQ(snapshot.value("s", "k"), "4");
    const std::filesystem::directory_iterator entries(folder_.path());
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
}

using ProfileSnapshotTest = ProfileFile;

TEST_F(ProfileSnapshotTest, ListsSectionNamesInFileOrder) {
    put("k=0\r\n[ b ]\r\n[a]x\r\n;[c]\r\n[B]\r\n[]\r\n");
    EXPECT_EQ(ProfileSnapshot::load(path()).section_names(),
              (std::vector<Text>{"b", "a", "B", ""}));
    EXPECT_TRUE(ProfileSnapshot::load(folder_.file_text("none.ini")).section_names().empty());
}

TEST_F(ProfileSnapshotTest, AgreesWithDirectReadsOnRandomFiles) {
    std::mt19937 random(7);
    const std::string pieces[] = {"[s]",  "[S ]",  "[t]", "k",    "K",  " = ", "=",
                                  "v",    "\"q\"", ";",   "\r\n", "\n", "\r",  " ",
                                  "\xB0", "\x5C",  "]",   "[",    "'"};
    for (int round = 0; round < 200; ++round) {
        std::string file;
        for (int i = 0; i < 40; ++i) file += pieces[random() % std::size(pieces)];
        put(file);
        for (const char* section : {"s", "t", "S"})
            for (const char* key : {"k", "K", "v"}) read(section, key, "d");
    }
}

TEST_F(WriteProfile, ChangesOnlyTheWrittenValueOnRandomFiles) {
    std::mt19937 random(3);
    const std::string pieces[] = {"[s]", "[t]", "[ S ]", "k",  "K",  "m", "=",    " = ", "1",
                                  "\"",  ";",   "\r\n",  "\n", "\r", " ", "\xB0", "]",   "["};
    const char* sections[] = {"s", "t", "u"};
    const char* keys[] = {"k", "m", "n"};
    for (int round = 0; round < 200; ++round) {
        std::string file;
        for (int i = 0; i < 30; ++i) file += pieces[random() % std::size(pieces)];
        put(file);
        const char* section = sections[random() % 3];
        const char* key = keys[random() % 3];
        const ProfileSnapshot before = ProfileSnapshot::load(path());
        ASSERT_TRUE(write_profile(path(), section, key, "new value"));
        const ProfileSnapshot after = ProfileSnapshot::load(path());
        for (const char* s : sections) {
            for (const char* k : keys) {
                const bool written = std::string_view(s) == section && std::string_view(k) == key;
                EXPECT_EQ(after.value(s, k), written ? "new value" : before.value(s, k))
                    << "[" << s << "] " << k << " after writing [" << section << "] " << key
                    << " into:\n"
                    << file;
            }
        }
    }
}

using ProfileDocumentTest = ProfileFile;

// Edits in memory, saved once, leave the bytes that one write_profile per
// edit leaves, refused edits included.
TEST_F(ProfileDocumentTest, SavesWhatOneWritePerEditWouldOnRandomFiles) {
    std::mt19937 random(5);
    const std::string pieces[] = {"[s]", "[t]", "[ S ]", "k",    "K",  "m",  "=", " = ",
                                  "1",   "\"",  ";",     "\r\n", "\n", "\r", " ", "\xB0"};
    const char* sections[] = {"s", "t", "u", " S ", "s]x"};
    const char* keys[] = {"k", "m", "n", "k]"};
    const char* values[] = {"v", "", " w ", "a\nb", "\"q\""};
    const Text reference = folder_.file_text("reference.ini");
    for (int round = 0; round < 50; ++round) {
        std::string file = round % 4 == 0 ? "\xEF\xBB\xBF" : "";
        for (int i = 0; i < 30; ++i) file += pieces[random() % std::size(pieces)];
        put(file);
        ASSERT_TRUE(write_file(reference, as_bytes(file)));
        std::optional<ProfileDocument> document = ProfileDocument::load(path());
        ASSERT_TRUE(document);
        for (int edit = 0; edit < 4; ++edit) {
            const char* section = sections[random() % std::size(sections)];
            const char* key = keys[random() % std::size(keys)];
            const char* value = values[random() % std::size(values)];
            EXPECT_EQ(document->set(section, key, value),
                      write_profile(reference, section, key, value));
        }
        ASSERT_TRUE(document->save());
        const auto expected = read_file(reference);
        ASSERT_TRUE(expected);
        EXPECT_EQ(contents(), std::string(expected->begin(), expected->end())) << file;
    }
}

TEST_F(ProfileDocumentTest, TouchesTheFileOnlyWhenSavingAnEdit) {
    std::optional<ProfileDocument> document = ProfileDocument::load(path());
    ASSERT_TRUE(document && document->save());  // nothing edited: no file made
    EXPECT_EQ(contents(), "<missing>");
    document->replace_lines("[t]\r\nm=2\r\n");
    EXPECT_EQ(contents(), "<missing>");
    ASSERT_TRUE(document->save());
    EXPECT_EQ(contents(), "[t]\r\nm=2\r\n");
}

using ProfileRobustness = ProfileFile;

TEST_F(ProfileRobustness, TakesBinaryGarbageAndZeroBytes) {
    std::mt19937 random(11);
    std::string garbage(256 * 1024, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    put(garbage);
    read("s", "k");
    ProfileSnapshot::load(path()).section_names();
    ASSERT_TRUE(write_profile(path(), "s", "k", "v"));
    EXPECT_EQ(read("s", "k"), "v");

    const char with_zeros[] = "[s]\r\nk=a\0b\r\nz\0=1\r\n";
    put(std::string(with_zeros, sizeof with_zeros - 1));
    EXPECT_EQ(read("s", "k"), "a");
}

TEST_F(ProfileRobustness, TakesLongLinesAndLargeFiles) {
    const std::string long_line(1 << 20, 'x');
    put("[s]\r\n" + long_line + "\r\nk=" + long_line + "\r\n[" + long_line);
    EXPECT_EQ(read("s", "k").size(), 10239u);

    std::string large = "[first]\r\na=1\r\n";
    const std::string block = "[section]\r\nkey=value value value value\r\n; comment line\r\n";
    while (large.size() < 50u * 1024 * 1024) large += block;
    large += "[last]\r\nk=end";
    put(large);
    EXPECT_EQ(read_profile(path(), "last", "k"), "end");
    EXPECT_EQ(ProfileSnapshot::load(path()).value("first", "a"), "1");
    ASSERT_TRUE(write_profile(path(), "last", "k2", "x"));
    EXPECT_EQ(read_profile(path(), "last", "k2"), "x");
}

}  // namespace
}  // namespace galmora
