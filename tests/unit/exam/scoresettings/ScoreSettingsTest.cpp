#include "exam/ScoreSettings.hpp"
#include "exam/HostFiles.hpp"
#include "plain/Files.hpp"
#include "plain/GbkPath.hpp"
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "platform/NativePath.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

using namespace skorvin;
using test::fileBytes;
using test::putFile;
namespace fs = std::filesystem;

namespace {

TEST(ScoreSettings, DefaultsForWhatIsMissing)
{
    const struct {
        const char* what;
        const char* content; // nullptr: no file
        const char* xs;
        const char* up;
    } cases[] = {
        {"no file", nullptr, "1", "40"},
        {"no section", "[Main]\r\nXs=2\r\nUp=90\r\n", "1", "40"},
        {"only the maximum", "[ScoreSet]\r\nUp=90\r\n", "1", "90"},
        {"only the decimal places", "[ScoreSet]\r\nXs=0\r\n", "0", "40"},
        {"an empty value is not missing", "[ScoreSet]\r\nXs=\r\nUp=100\r\n", "", "100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const fs::path path = dir / "kavrint.ini";
        if (c.content != nullptr)
            putFile(path, c.content);
        const exam::ScoreSettings settings = exam::ReadScoreSettings(test::gbkName(path));
        EXPECT_EQ(settings.Xs, c.xs);
        EXPECT_EQ(settings.Up, c.up);
        EXPECT_EQ(fs::exists(path), c.content != nullptr) << "reading never creates the file";
    }
}

TEST(ScoreSettings, WritesTrimmedDecimalPlacesThenMaximum)
{
    test::TempDir dir;
    const fs::path path = dir / "kavrint.ini";
    const std::string name = test::gbkName(path);

    exam::WriteScoreSettings(name, " 0\t", "  100 ");
    EXPECT_EQ(fileBytes(path), "[ScoreSet]\r\nXs=0\r\nUp=100\r\n");
    EXPECT_EQ(exam::ReadScoreSettings(name).Xs, "0");
    EXPECT_EQ(exam::ReadScoreSettings(name).Up, "100");

    // An empty decimal-places box is stored as an empty value, not dropped.
    exam::WriteScoreSettings(name, "", "100");
    EXPECT_EQ(fileBytes(path), "[ScoreSet]\r\nXs=\r\nUp=100\r\n");
}

// The score box asks on every key: the file is read again whenever it may have changed since,
// and only then. Each case starts from a file last written an hour ago, read once.
TEST(ScoreSettingsFile, ReadsAgainWhenTheFileMayHaveChanged)
{
    const auto hourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
    const std::string before = "[ScoreSet]\r\nXs=1\r\nUp=60\r\n";
    const std::string sameLength = "[ScoreSet]\r\nXs=1\r\nUp=90\r\n";
    const struct {
        const char* what;
        std::function<void(const fs::path&)> change;
        const char* up; // what the next read gives
    } cases[] = {
        {"nothing changed", [](const fs::path&) {}, "60"},
        {"rewritten in place, same length, its old time put back: nothing tells, nothing is read",
         [&](const fs::path& path) {
             putFile(path, sameLength);
             fs::last_write_time(path, hourAgo);
         },
         "60"},
        {"rewritten in place just now, same length", [&](const fs::path& path) { putFile(path, sameLength); }, "90"},
        {"rewritten in place with its old time, another length",
         [&](const fs::path& path) {
             putFile(path, "[ScoreSet]\r\nXs=1\r\nUp=100\r\n");
             fs::last_write_time(path, hourAgo);
         },
         "100"},
        {"replaced by another file of the same time and length",
         [&](const fs::path& path) {
             const fs::path other = fs::path(path).replace_extension(".new");
             putFile(other, sameLength);
             fs::last_write_time(other, hourAgo);
             fs::rename(other, path);
         },
         "90"},
        {"written by this program, its old time put back",
         [&](const fs::path& path) {
             exam::WriteScoreSettings(test::gbkName(path), "1", "90");
             fs::last_write_time(path, hourAgo);
         },
         "90"},
        {"removed", [](const fs::path& path) { fs::remove(path); }, "40"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const fs::path path = dir / "kavrint.ini";
        putFile(path, before);
        fs::last_write_time(path, hourAgo);
        exam::ScoreSettingsFile settings(test::gbkName(path));
        ASSERT_EQ(settings.read().Up, "60");
        c.change(path);
        EXPECT_EQ(settings.read().Up, c.up);
        EXPECT_EQ(settings.read().Xs, "1");
    }
}

// The window's files lie in the host program's folder, the report template one folder down,
// joined with the separator the folder is written with.
TEST(HostFiles, LieInTheFolderGiven)
{
    const struct {
        const char* folder;
        const char* settings;
        const char* journal;
        const char* reportTemplate;
    } cases[] = {
        {"/opt/主机/", "/opt/主机/kavrint.ini", "/opt/主机/登分日志.sqlite",
         "/opt/主机/报表/四级考生主观题分数报表.rtpl"},
        {"C:\\考试\\", "C:\\考试\\kavrint.ini", "C:\\考试\\登分日志.sqlite",
         "C:\\考试\\报表\\四级考生主观题分数报表.rtpl"},
        {"", "kavrint.ini", "登分日志.sqlite", "报表/四级考生主观题分数报表.rtpl"},
    };
    for (const auto& c : cases) {
        const exam::HostFiles files = exam::HostFiles::in(gbk::fromUtf8(c.folder));
        EXPECT_EQ(files.settings, gbk::fromUtf8(c.settings)) << c.folder;
        EXPECT_EQ(files.journal, gbk::fromUtf8(c.journal)) << c.folder;
        EXPECT_EQ(files.reportTemplate, gbk::fromUtf8(c.reportTemplate)) << c.folder;
    }
}

} // namespace
