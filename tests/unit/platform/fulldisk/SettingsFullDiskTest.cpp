// The settings file on a full disk: the write is reported and the file keeps its old bytes.
#include "plain/Files.hpp"
#include "plain/GbkPath.hpp"
#include "plain/SmallDisk.hpp"
#include "platform/Exception.hpp"
#include "platform/ini/TIniFile.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace skorvin;

namespace {

// Nothing free, and a little free for a file larger than that (the write stops midway).
TEST(SettingsFullDisk, AFailedWriteLeavesTheOldFileWhole)
{
    const struct {
        const char* what;
        std::size_t hostBytes; // the host's own section, in front of ours
        std::size_t spare;
    } cases[] = {
        {"no byte free", 100, 0},
        {"8 KiB free for a file of 24 KiB", 24 * 1024, 8 * 1024},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::SmallDisk disk;
        if (!disk.mounted())
            GTEST_SKIP() << disk.whyNot();
        const std::string before = "[Host]\r\nNotes=" + std::string(c.hostBytes, 'n') + "\r\n[ScoreSet]\r\nXs=1\r\n";
        test::putFile(disk / "kavrint.ini", before);
        disk.fill(c.spare);

        ini::TIniFile file(test::gbkName(disk / "kavrint.ini"));
        try {
            file.WriteString("ScoreSet", "Up", "100");
            ADD_FAILURE() << "no error";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.message(), "Unable to write to " + test::gbkName(disk / "kavrint.ini"));
        }
        EXPECT_EQ(test::fileBytes(disk / "kavrint.ini"), before);
        EXPECT_EQ(test::namesIn(disk.path()), (std::set<std::string>{"filler", "kavrint.ini"}));
    }
}

} // namespace
