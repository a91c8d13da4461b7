// What stands in the settings file's place, and what writers left beside it.
#include "plain/Files.hpp"
#include "plain/GbkPath.hpp"
#include "plain/TempDir.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "platform/ini/FileStore.hpp"
#include "platform/ini/TIniFile.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>

#include "platform/WindowsApi.hpp"
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace skorvin;
using skorvin::test::gbkName;
using test::fileBytes;
using test::namesIn;
using test::putFile;
namespace fs = std::filesystem;

namespace {

#ifdef _WIN32

// The id of a process that has ended: a child that exits at once, waited for.
unsigned long endedProcess()
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    wchar_t command[] = L"cmd.exe /c exit 0";
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &child))
        throw std::runtime_error("cannot start cmd.exe");
    WaitForSingleObject(child.hProcess, INFINITE);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return child.dwProcessId;
}

// The id of a process that is still running.
unsigned long aliveProcess()
{
    return GetCurrentProcessId();
}

#else

pid_t endedProcess()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

pid_t aliveProcess()
{
    return getppid();
}

#endif

// A file larger than the limit, made cheaply as a sparse file.
void putSparseFile(const fs::path& path, std::uintmax_t size)
{
    putFile(path, "[ScoreSet]\r\nUp=60\r\n");
    fs::resize_file(path, size);
}

TEST(SettingsFile, DefaultLosesItsTrailingSpacesOnly)
{
    test::TempDir dir;
    const fs::path path = dir / "kavrint.ini";
    const struct {
        const char* what;
        const char* content; // null: no file
        const char* defaultValue;
        const char* expected;
    } cases[] = {
        {"missing file", nullptr, "default  ", "default"},
        {"missing section", "[Main]\r\nUp=1\r\n", "40 ", "40"},
        {"missing key", "[ScoreSet]\r\nXs=1\r\n", " \t40 \t ", " \t40 \t"},
        {"all spaces", nullptr, "   ", ""},
        {"present key ignores the default", "[ScoreSet]\r\nUp=1\r\n", "40  ", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(path);
        if (c.content)
            putFile(path, c.content);
        EXPECT_EQ(ini::TIniFile(gbkName(path)).ReadString("ScoreSet", "Up", c.defaultValue), c.expected);
    }
}

// Anything but a regular file of a sane size reads as a missing file, without waiting or
// filling memory, and a write to it fails and leaves it as it was.
TEST(SettingsFile, OnlyARegularFileOfASaneSizeIsReadOrWritten)
{
    const struct {
        const char* what;
        std::function<void(const fs::path&)> make;
    } cases[] = {
        {"a folder", [](const fs::path& p) { fs::create_directory(p); }},
#ifndef _WIN32 // no pipes in the file system, links need a privilege
        {"a pipe no one writes to", [](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }},
        {"a link to an endless device", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }},
#endif
        {"a file past the limit", [](const fs::path& p) { putSparseFile(p, ini::kMaxFileBytes + 1); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const fs::path path = dir / "kavrint.ini";
        c.make(path);
        const auto before = fs::symlink_status(path);
        ini::TIniFile file(gbkName(path));

        EXPECT_EQ(file.ReadString("ScoreSet", "Up", "40"), "40");
        try {
            file.WriteString("ScoreSet", "Up", "100");
            ADD_FAILURE() << "the write succeeded";
        } catch (const EIniFileException& error) {
            EXPECT_EQ(error.message(), "Unable to write to " + path.string());
        }
        EXPECT_EQ(fs::symlink_status(path).type(), before.type());
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"kavrint.ini"});
        if (fs::is_regular_file(fs::symlink_status(path))) {
            EXPECT_EQ(fs::file_size(path), ini::kMaxFileBytes + 1);
        }
    }
}

TEST(SettingsFile, FileAtTheLimitIsStillRead)
{
    test::TempDir dir;
    const fs::path path = dir / "kavrint.ini";
    // A real file padded with blank lines up to the limit: the key sits at its very end.
    const std::string key = "[ScoreSet]\nUp=60\n";
    putFile(path, std::string(ini::kMaxFileBytes - key.size(), '\n') + key);
    ini::TIniFile file(gbkName(path));
    EXPECT_EQ(file.ReadString("ScoreSet", "Up", "40"), "60");
    file.WriteString("ScoreSet", "Up", "70");
    EXPECT_EQ(file.ReadString("ScoreSet", "Up", "40"), "70");
    EXPECT_EQ(fs::file_size(path), ini::kMaxFileBytes);
}

// A write killed midway leaves "<file>.tmp<pid>-<n>"; the next write removes those of
// writers that are gone, and nothing else.
TEST(SettingsFile, WriteRemovesTemporaryFilesOfDeadWriters)
{
    test::TempDir dir;
    const fs::path path = dir / "kavrint.ini";
    putFile(path, "[ScoreSet]\r\nUp=50\r\n");
    const std::string dead = std::to_string(endedProcess());
    const std::string alive = std::to_string(aliveProcess());
    const std::set<std::string> removed = {"kavrint.ini.tmp" + dead + "-0", "kavrint.ini.tmp" + dead + "-12"};
    const std::set<std::string> kept = {
        "kavrint.ini.tmp" + alive + "-0", // a writer still at work
        "other.ini.tmp" + dead + "-0",    // another file's
        "kavrint.ini.tmp" + dead,         // not a name this layer makes
        "kavrint.ini.tmp" + dead + "-0x", "kavrint.ini.bak",
    };
    for (const auto& name : removed)
        putFile(dir / name, std::string(4096, 'x'));
    for (const auto& name : kept)
        putFile(dir / name, "x");
    fs::create_directory(dir / ("kavrint.ini.tmp" + dead + "-5")); // not a file this layer makes

    ini::TIniFile(gbkName(path)).WriteString("ScoreSet", "Up", "100");

    std::set<std::string> expected = kept;
    expected.insert("kavrint.ini");
    expected.insert("kavrint.ini.tmp" + dead + "-5");
    EXPECT_EQ(namesIn(dir.path()), expected);
    EXPECT_EQ(fileBytes(path), "[ScoreSet]\r\nUp=100\r\n");
}

} // namespace
