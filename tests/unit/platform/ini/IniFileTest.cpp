#include "plain/Files.hpp"
#include "plain/GbkPath.hpp"
#include "plain/TempDir.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "platform/ini/TIniFile.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace skorvin;
using skorvin::test::gbkName;
using test::fileBytes;
using test::namesIn;
using test::putFile;
namespace fs = std::filesystem;

namespace {

enum class Op { Read, Write };

struct IniCase {
    const char* what;
    std::optional<std::string> before; // nothing: no file at all
    const char* section;
    const char* key;
    Op op;
    // Read: the value expected ("DEF" is the default asked for); Write: the value written.
    std::string value;
    // Write: the whole file afterwards. Reads must leave the file as it was.
    std::optional<std::string> after = std::nullopt;
};

const std::string kLong(3000, 'a');
// 1500 GBK characters "分" (B7 D6): byte 2047 would be a lead byte.
std::string longChinese()
{
    std::string s;
    for (int i = 0; i < 1500; ++i)
        s += "\xB7\xD6";
    return s;
}

// The host's file, with its own sections, comments and blank lines around ours.
const std::string kHostFile = "; host settings\r\n"
                              "[Main]\r\n"
                              "Server = exam01\r\n"
                              "\r\n"
                              "[ScoreSet]\r\n"
                              "Up = 50\r\n"
                              "; the host's note\r\n"
                              "\r\n"
                              "[Print]\r\n"
                              "Copies=2\r\n";

const IniCase kCases[] = {
    // Reading
    {"missing file gives the default", std::nullopt, "ScoreSet", "Xs", Op::Read, "DEF"},
    {"missing section gives the default", "[Main]\r\nXs=3\r\n", "ScoreSet", "Xs", Op::Read, "DEF"},
    {"missing key gives the default", "[ScoreSet]\r\nUp=3\r\n", "ScoreSet", "Xs", Op::Read, "DEF"},
    {"empty value is empty, not the default", "[ScoreSet]\r\nXs=\r\n", "ScoreSet", "Xs", Op::Read, ""},
    {"blank value is empty", "[ScoreSet]\r\nXs=   \r\n", "ScoreSet", "Xs", Op::Read, ""},
    {"empty quotes are empty", "[ScoreSet]\r\nXs=\"\"\r\n", "ScoreSet", "Xs", Op::Read, ""},
    {"names ignore letter case", "[sCORESET]\r\nxS=2\r\n", "ScoreSet", "Xs", Op::Read, "2"},
    {"blanks around asked names ignored", "[ScoreSet]\r\nXs=2\r\n", " ScoreSet\t", "\tXs ", Op::Read, "2"},
    {"blanks inside the header ignored", "[  ScoreSet \t]\r\nXs=2\r\n", "ScoreSet", "Xs", Op::Read, "2"},
    {"text after the header ignored", "[ScoreSet] ; ours\r\nXs=2\r\n", "ScoreSet", "Xs", Op::Read, "2"},
    {"blanks around key, = and value removed, inner kept", "[ScoreSet]\r\n \tXs \t=\t 2 5 \t\r\n", "ScoreSet", "Xs",
     Op::Read, "2 5"},
    {"double quotes removed, inner blanks kept", "[ScoreSet]\r\nXs=\" 2 \"\r\n", "ScoreSet", "Xs", Op::Read, " 2 "},
    {"single quotes removed", "[ScoreSet]\r\nXs='3'\r\n", "ScoreSet", "Xs", Op::Read, "3"},
    {"unbalanced quote kept", "[ScoreSet]\r\nXs=\"3\r\n", "ScoreSet", "Xs", Op::Read, "\"3"},
    {"mixed quotes kept", "[ScoreSet]\r\nXs=\"3'\r\n", "ScoreSet", "Xs", Op::Read, "\"3'"},
    {"no comments inside values", "[ScoreSet]\r\nXs=1 ;note\r\n", "ScoreSet", "Xs", Op::Read, "1 ;note"},
    {"commented key is not read", "[ScoreSet]\r\n;Xs=5\r\n", "ScoreSet", "Xs", Op::Read, "DEF"},
    {"only the first of two sections is searched", "[ScoreSet]\r\nUp=50\r\n[ScoreSet]\r\nXs=2\r\n", "ScoreSet", "Xs",
     Op::Read, "DEF"},
    {"first of two keys wins", "[ScoreSet]\r\nXs=2\r\nXs=3\r\n", "ScoreSet", "Xs", Op::Read, "2"},
    {"line without = holds no value", "[ScoreSet]\r\nXs\r\n", "ScoreSet", "Xs", Op::Read, "DEF"},
    {"key of another section not read", "[Main]\r\nXs=2\r\n[ScoreSet]\r\nUp=3\r\n", "ScoreSet", "Xs", Op::Read, "DEF"},
    {"key before any section not read", "Xs=2\r\n[ScoreSet]\r\n", "ScoreSet", "Xs", Op::Read, "DEF"},
    {"LF line ends", "[Main]\nA=1\n[ScoreSet]\nXs=2\n", "ScoreSet", "Xs", Op::Read, "2"},
    {"CR line ends", "[Main]\rA=1\r[ScoreSet]\rXs=2\r", "ScoreSet", "Xs", Op::Read, "2"},
    {"mixed line ends, no final one", "[Main]\r\nA=1\r[ScoreSet]\nXs=2", "ScoreSet", "Xs", Op::Read, "2"},
    // 分数 (GBK), returned as the same bytes
    {"GBK value returned unchanged", "[ScoreSet]\r\nXs=\xB7\xD6\xCA\xFD\r\n", "ScoreSet", "Xs", Op::Read,
     "\xB7\xD6\xCA\xFD"},
    {"GBK trail byte that looks like ] belongs to the name", "[\x81\x5D]\r\nXs=2\r\n", "\x81\x5D", "Xs", Op::Read, "2"},
    {"GBK trail bytes are not letters to fold", "[\xB7\x61]\r\nXs=2\r\n", "\xB7\x41", "Xs", Op::Read, "DEF"},
    {"long value cut to 2047 bytes", "[ScoreSet]\r\nXs=" + kLong + "\r\n", "ScoreSet", "Xs", Op::Read,
     kLong.substr(0, 2047)},
    {"long value never cut inside a character", "[ScoreSet]\r\nXs=" + longChinese() + "\r\n", "ScoreSet", "Xs",
     Op::Read, longChinese().substr(0, 2046)},
    // 分数 in UTF-8 behind the byte-order mark, read as GBK
    {"UTF-8 file with byte-order mark", "\xEF\xBB\xBF[ScoreSet]\r\nXs=\xE5\x88\x86\xE6\x95\xB0\r\n", "ScoreSet", "Xs",
     Op::Read, "\xB7\xD6\xCA\xFD"},

    // Writing
    {"missing file created with CR LF", std::nullopt, "ScoreSet", "Xs", Op::Write, "0", "[ScoreSet]\r\nXs=0\r\n"},
    {"empty file gets the section", "", "ScoreSet", "Xs", Op::Write, "0", "[ScoreSet]\r\nXs=0\r\n"},
    {"missing section appended with the file's line end", "[Main]\nA=1\n", "ScoreSet", "Up", Op::Write, "100",
     "[Main]\nA=1\n[ScoreSet]\nUp=100\n"},
    {"missing final line end added before a new section", "[Main]\rA=1", "ScoreSet", "Up", Op::Write, "100",
     "[Main]\rA=1\r[ScoreSet]\rUp=100\r"},
    {"missing key added after the section's last entry, host lines untouched", kHostFile, "ScoreSet", "Xs", Op::Write,
     "0",
     "; host settings\r\n[Main]\r\nServer = exam01\r\n\r\n[ScoreSet]\r\nUp = 50\r\nXs=0\r\n; the host's note\r\n"
     "\r\n[Print]\r\nCopies=2\r\n"},
    {"existing key: only its value bytes change", kHostFile, "ScoreSet", "Up", Op::Write, "100",
     "; host settings\r\n[Main]\r\nServer = exam01\r\n\r\n[ScoreSet]\r\nUp = 100\r\n; the host's note\r\n"
     "\r\n[Print]\r\nCopies=2\r\n"},
    {"existing key keeps its spelling and blanks", "[scoreset]\n  xS =\t1  \n", "ScoreSet", "Xs", Op::Write, "2",
     "[scoreset]\n  xS =\t2  \n"},
    {"section without entries and without line end", "[ScoreSet]", "ScoreSet", "Xs", Op::Write, "1",
     "[ScoreSet]\r\nXs=1\r\n"},
    {"value written trimmed", std::nullopt, "ScoreSet", "Up", Op::Write, " \t40\t ", "[ScoreSet]\r\nUp=40\r\n"},
    {"empty value written as Key=", "[ScoreSet]\r\nXs=1\r\n", "ScoreSet", "Xs", Op::Write, "", "[ScoreSet]\r\nXs=\r\n"},
    {"empty value added as Key=", "[ScoreSet]\r\n", "ScoreSet", "Xs", Op::Write, "", "[ScoreSet]\r\nXs=\r\n"},
    {"same value leaves the file unchanged", "[ScoreSet]\r\n Xs = 1 \r\n", "ScoreSet", "Xs", Op::Write, "1",
     "[ScoreSet]\r\n Xs = 1 \r\n"},
    {"same value in quotes leaves the file unchanged", "[ScoreSet]\nXs=\"1\"\n", "ScoreSet", "Xs", Op::Write, "1",
     "[ScoreSet]\nXs=\"1\"\n"},
    {"quoted value replaced whole", "[ScoreSet]\nXs=\"1\"\n", "ScoreSet", "Xs", Op::Write, "2", "[ScoreSet]\nXs=2\n"},
    {"blank value gets the new one after its blanks", "[ScoreSet]\nXs =   \n", "ScoreSet", "Xs", Op::Write, "2",
     "[ScoreSet]\nXs =   2\n"},
    {"only the first of two sections changes", "[ScoreSet]\nUp=50\n[ScoreSet]\nXs=2\n", "ScoreSet", "Xs", Op::Write,
     "3", "[ScoreSet]\nUp=50\nXs=3\n[ScoreSet]\nXs=2\n"},
    {"GBK value written as its bytes", "[ScoreSet]\r\n", "ScoreSet", "Xs", Op::Write, "\xB7\xD6",
     "[ScoreSet]\r\nXs=\xB7\xD6\r\n"},
    {"UTF-8 file keeps its mark and gets UTF-8", "\xEF\xBB\xBF[ScoreSet]\n", "ScoreSet", "Xs", Op::Write, "\xB7\xD6",
     "\xEF\xBB\xBF[ScoreSet]\nXs=\xE5\x88\x86\n"},
};

TEST(IniFile, ReadsAndWritesOneKeyLeavingEveryOtherByte)
{
    for (const IniCase& c : kCases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const fs::path path = dir / "kavrint.ini";
        if (c.before)
            putFile(path, *c.before);
        ini::TIniFile file(gbkName(path));

        if (c.op == Op::Read) {
            EXPECT_EQ(file.ReadString(c.section, c.key, "DEF"), c.value);
            EXPECT_EQ(fileBytes(path), c.before) << "a read must not touch the file";
        } else {
            file.WriteString(c.section, c.key, c.value);
            EXPECT_EQ(fileBytes(path), c.after);
            std::string expected = c.value;
            expected.erase(0, expected.find_first_not_of(" \t"));
            expected.erase(expected.find_last_not_of(" \t") + 1);
            EXPECT_EQ(file.ReadString(c.section, c.key, "DEF"), expected) << "the written value reads back";
            EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"kavrint.ini"}) << "no temporary file left";
        }
    }
}

TEST(IniFile, FailedWriteRaisesWithTheFullPathAndLeavesTheFile)
{
    test::TempDir dir;
    const fs::path readOnly = dir / "kavrint.ini";
    const std::string original = "[ScoreSet]\r\nXs=1\r\n";
    putFile(readOnly, original);
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const fs::path missingFolder = dir / "nowhere" / "kavrint.ini";

    for (const fs::path& path : {readOnly, missingFolder}) {
        SCOPED_TRACE(path.string());
        ini::TIniFile file(gbkName(path));
        try {
            file.WriteString("ScoreSet", "Xs", "2");
            ADD_FAILURE() << "the write succeeded";
        } catch (const EIniFileException& error) {
            EXPECT_EQ(error.message(), "Unable to write to " + path.string());
        }
    }
    EXPECT_EQ(fileBytes(readOnly), original);
    EXPECT_FALSE(fs::exists(missingFolder.parent_path()));
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"kavrint.ini"});
}

TEST(IniFile, WriteThatWouldBreakTheFileIsRefused)
{
    test::TempDir dir;
    const fs::path path = dir / "kavrint.ini";
    const std::string original = "[ScoreSet]\r\nXs=1\r\n";
    putFile(path, original);
    ini::TIniFile file(gbkName(path));

    const struct {
        const char* section;
        const char* key;
        const char* value;
    } refused[] = {
        {"ScoreSet", "Xs", "1\r\n[Main]\r\nServer=evil"},
        {"ScoreSet", "Xs", "1\nUp=999"},
        {"ScoreSet", "X=s", "1"},
        {"Score]Set", "Xs", "1"},
        {"ScoreSet", " ", "1"},
        {"ScoreSet", " ;Xs", "1"},   // would be a comment
        {"ScoreSet", "[Xs", "1"},    // would be a section header
        {"ScoreSet\xB7", "Xs", "1"}, // a lead byte would take the closing "]"
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.value);
        EXPECT_THROW(file.WriteString(r.section, r.key, r.value), EIniFileException);
    }
    EXPECT_EQ(fileBytes(path), original);
}

TEST(IniFile, ReplacedFileKeepsItsPermissionsAndLinks)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no POSIX permissions, and symbolic links need a privilege there";
#endif
    test::TempDir dir;
    const fs::path real = dir / "real.ini";
    const fs::path link = dir / "kavrint.ini";
    putFile(real, "[ScoreSet]\nXs=1\n");
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(real, perms);
    fs::create_symlink(real, link);

    ini::TIniFile(gbkName(link)).WriteString("ScoreSet", "Xs", "2");

    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fileBytes(real), "[ScoreSet]\nXs=2\n");
    EXPECT_EQ(fs::status(real).permissions(), perms);
}

TEST(IniFile, GbkFileNameReachesTheFileSystemAsUtf8)
{
    test::TempDir dir;
    // 设置 (settings): the folder exists under its UTF-8 name, the caller names it in GBK.
    const fs::path folder = dir / fs::path(u8"\xE8\xAE\xBE\xE7\xBD\xAE");
    fs::create_directory(folder);
    const std::string name = gbkName(dir.path()) + "/\xC9\xE8\xD6\xC3/kavrint.ini";

    ini::TIniFile file(name);
    file.WriteString("ScoreSet", "Up", "100");

    EXPECT_EQ(fileBytes(folder / "kavrint.ini"), "[ScoreSet]\r\nUp=100\r\n");
    EXPECT_EQ(file.ReadString("ScoreSet", "Up", "40"), "100");
}

TEST(IniFile, EveryCallSeesTheFileAsItIsNow)
{
    test::TempDir dir;
    const fs::path path = dir / "kavrint.ini";
    ini::TIniFile file(gbkName(path));
    EXPECT_EQ(file.ReadString("ScoreSet", "Up", "40"), "40");
    putFile(path, "[ScoreSet]\nUp=60\n");
    EXPECT_EQ(file.ReadString("ScoreSet", "Up", "40"), "60");
    putFile(path, "[ScoreSet]\nUp=70\nXs=1\n");
    file.WriteString("ScoreSet", "Xs", "2");
    EXPECT_EQ(fileBytes(path), "[ScoreSet]\nUp=70\nXs=2\n");
}

} // namespace
