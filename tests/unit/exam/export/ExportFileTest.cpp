#include "ExportFixture.hpp"
#include "exam/TDataGridExport.hpp"
#include "plain/Files.hpp"
#include "plain/GbkPath.hpp"
#include "plain/TempDir.hpp"
#include "platform/Exception.hpp"

#include "platform/WindowsApi.hpp"
#ifndef _WIN32
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <stdexcept>

using namespace skorvin;
using namespace skorvin::exam;
using skorvin::test::ExportTest;
using skorvin::test::fileBytes;
using skorvin::test::gbkName;
using skorvin::test::putFile;
using skorvin::test::TempDir;
namespace fs = std::filesystem;

namespace {

std::string hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += (out.empty() ? "" : " ") + std::string{digits[b >> 4], digits[b & 15]};
    }
    return out;
}

void exportTo(ExportGrid& grid, const fs::path& file)
{
    ExportGridToFile(exportClassOf<TDataGridExportAsText>, grid, file, true);
}

#ifdef _WIN32

// Holds a file open that others may read but not write, as another program using it would.
class LockedFile {
public:
    explicit LockedFile(const fs::path& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE) << GetLastError();
    }
    ~LockedFile() { CloseHandle(handle_); }

private:
    HANDLE handle_;
};

// The system's text for an error, as a message shows it.
std::string systemText(DWORD error)
{
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                   nullptr);
    std::string out = text;
    while (!out.empty() && static_cast<unsigned char>(out.back()) <= ' ')
        out.pop_back();
    return out;
}

#else

// Holds an exclusive lock on a file, as another program writing it would.
class LockedFile {
public:
    explicit LockedFile(const fs::path& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        EXPECT_EQ(::flock(fd_, LOCK_EX | LOCK_NB), 0) << std::strerror(errno);
    }
    ~LockedFile() { ::close(fd_); }

private:
    int fd_;
};

// Another program holding a lock on the file, taken by `lock` on its own descriptor, until
// this object goes.
class OtherProgramLock {
public:
    OtherProgramLock(const fs::path& path, int (*lock)(int fd))
    {
        int ready[2];
        int release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0)
            throw std::runtime_error("pipe");
        child_ = ::fork();
        if (child_ == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            const int fd = ::open(path.c_str(), O_RDWR);
            const char taken = fd >= 0 && lock(fd) == 0 ? 'y' : 'n';
            [[maybe_unused]] const ssize_t told = ::write(ready[1], &taken, 1);
            char ignored;
            [[maybe_unused]] const ssize_t done = ::read(release[0], &ignored, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        release_ = release[1];
        char taken = 'n';
        EXPECT_EQ(::read(ready[0], &taken, 1), 1);
        EXPECT_EQ(taken, 'y') << "the other program could not take its lock";
        ::close(ready[0]);
    }
    ~OtherProgramLock()
    {
        ::close(release_);
        int status = 0;
        ::waitpid(child_, &status, 0);
    }
    OtherProgramLock(const OtherProgramLock&) = delete;
    OtherProgramLock& operator=(const OtherProgramLock&) = delete;

private:
    pid_t child_ = -1;
    int release_ = -1;
};

#endif

TEST_F(ExportTest, TwoCandidatesToTheByte)
{
    addRows({"'400111050001', '35.5', '张三'", "'400111050002', NULL, '李四'"});
    list.open();
    const TempDir dir;
    exportTo(grid, dir / "list.txt");

    const std::string bytes = fileBytes(dir / "list.txt").value_or("");
    EXPECT_EQ(bytes.size(), 68u);
    EXPECT_EQ(hex(bytes.substr(0, 26)),
              "D7 BC BF BC D6 A4 BA C5 09 D0 D5 C3 FB 09 D6 F7 B9 DB CC E2 B7 D6 CA FD 0D 0A");
    EXPECT_EQ(hex(bytes.substr(bytes.size() - 2)), "C4 09");
    EXPECT_EQ(bytes, gbk::fromUtf8("准考证号\t姓名\t主观题分数\r\n400111050001\t张三\t35.5\r\n400111050002\t李四\t"));
}

TEST_F(ExportTest, AnExistingLongerFileIsReplacedEntirely)
{
    addRows({"'4001', '1', 'A'"});
    list.open();
    const TempDir dir;
    putFile(dir / "list.txt", std::string(10000, 'x'));
    exportTo(grid, dir / "list.txt");
    EXPECT_EQ(fileBytes(dir / "list.txt"), gbk::fromUtf8("准考证号\t姓名\t主观题分数\r\n4001\tA\t1"));
}

// The file cannot be made: the message names the full path and the system's reason, the
// walk never starts, and a file already there keeps its bytes.
TEST_F(ExportTest, AFileThatCannotBeCreated)
{
    addNumbered(5);
    list.open();
    list.moveBy(2);
    const TempDir dir;
    fs::create_directory(dir / "locked");
    putFile(dir / "locked" / "list.txt", "kept");
#ifndef _WIN32
    fs::create_directory(dir / "readonly");
    fs::permissions(dir / "readonly", fs::perms::owner_read | fs::perms::owner_exec);
    // Root writes into any folder that lacks write permission; nobody creates files in /sys.
    const fs::path readOnlyFolder = ::geteuid() == 0 ? fs::path("/sys") : dir / "readonly";
#endif

    struct Case {
        const char* what;
        fs::path name;        // as given
        std::string fullName; // as the message must name it
        const char* reason;
    };
    const fs::path cwd = fs::current_path();
#ifdef _WIN32
    // A folder's read-only attribute does not stop files being made in it.
    const std::string missing = systemText(ERROR_PATH_NOT_FOUND);
    const std::string locked = systemText(ERROR_SHARING_VIOLATION);
#else
    const std::string missing = "No such file or directory";
    const std::string locked = "Resource temporarily unavailable";
#endif
    std::vector<Case> cases = {
        {"missing folder, relative name", "no-such-folder/../no-such-folder/list.txt",
         gbkName(cwd / "no-such-folder" / "list.txt"), missing.c_str()},
        {"a file another program holds locked", dir / "locked" / "list.txt", gbkName(dir / "locked" / "list.txt"),
         locked.c_str()},
    };
#ifndef _WIN32
    cases.push_back(
        {"read-only folder", readOnlyFolder / "list.txt", gbkName(readOnlyFolder / "list.txt"), "Permission denied"});
#endif
    const LockedFile held(dir / "locked" / "list.txt");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scrolls = 0;
        try {
            ExportGridToFile(exportClassOf<TDataGridExportAsText>, grid, c.name, true);
            ADD_FAILURE() << "no error";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.message(), "Cannot create file \"" + c.fullName + "\". " + c.reason);
        }
        EXPECT_EQ(current(), "4003");
        EXPECT_EQ(scrolls, 0);
        EXPECT_FALSE(list.controlsDisabled());
    }
    EXPECT_EQ(fileBytes(dir / "locked" / "list.txt"), "kept");
    EXPECT_FALSE(fs::exists(cwd / "no-such-folder"));
}

#ifndef _WIN32
// Linux keeps flock locks and fcntl (and lockf) locks apart: the export takes both kinds, so
// that another program holding either finds the file refused to us, its bytes kept.
TEST_F(ExportTest, AFileAnotherProgramLocksInAnyWay)
{
    addNumbered(3);
    list.open();
    const TempDir dir;
    const struct {
        const char* what;
        int (*lock)(int fd);
    } lockers[] = {
        {"flock", [](int fd) { return ::flock(fd, LOCK_EX | LOCK_NB); }},
        {"fcntl",
         [](int fd) {
             struct flock whole {};
             whole.l_type = F_WRLCK;
             whole.l_whence = SEEK_SET;
             return ::fcntl(fd, F_SETLK, &whole);
         }},
        {"lockf", [](int fd) { return ::lockf(fd, F_TLOCK, 0); }},
    };
    for (const auto& locker : lockers) {
        SCOPED_TRACE(locker.what);
        putFile(dir / "list.txt", "kept");
        const OtherProgramLock held(dir / "list.txt", locker.lock);
        try {
            exportTo(grid, dir / "list.txt");
            ADD_FAILURE() << "no error";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.message(),
                      "Cannot create file \"" + gbkName(dir / "list.txt") + "\". Resource temporarily unavailable");
        }
        EXPECT_EQ(fileBytes(dir / "list.txt"), "kept");
    }
    exportTo(grid, dir / "list.txt");
    EXPECT_NE(fileBytes(dir / "list.txt"), "kept");
}
#endif

// A full disk is reported, not left as a short file; the list is back where it was.
TEST_F(ExportTest, AWriteThatFailsIsReported)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no device that refuses writes like /dev/full";
#endif
    addNumbered(20);
    list.open();
    list.moveBy(7);
    try {
        ExportGridToFile(exportClassOf<TDataGridExportAsText>, grid, fs::path("/dev/full"), true);
        ADD_FAILURE() << "no error";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.message(), "Cannot write file \"/dev/full\". No space left on device");
    }
    EXPECT_EQ(current(), "4008");
    EXPECT_FALSE(list.controlsDisabled());
}

// An exporter of a class of its own, built through the class reference, that notes
// which of the walk's steps ran.
class NotingExport : public TDataGridExportAsText {
public:
    static inline std::vector<std::string> steps;

protected:
    void PutPrologue() override { steps.push_back("prologue"); }
    void PutEpilogue() override { steps.push_back("epilogue"); }
};

// The dataset fails on the fourth record (deleted through the list after the clone the
// grid shows was made, so reading it fails): the error reaches the caller, the file keeps
// what was written, the grid's dataset is back on its record with its controls attached,
// and the epilogue never runs.
TEST_F(ExportTest, ADatasetFailingInTheMiddleOfTheWalk)
{
    addNumbered(6);
    list.open();
    const TempDir dir;
    const std::string title = gbk::fromUtf8("准考证号\t姓名\t主观题分数");

    auto shown = list.cloneReadOnly();
    test::PlainGrid cloneGrid(*shown);
    shown->moveBy(1);
    NotingExport::steps.clear();
    ExportGridToFile(exportClassOf<NotingExport>, cloneGrid, dir / "whole.txt", true);
    EXPECT_EQ(NotingExport::steps, (std::vector<std::string>{"prologue", "epilogue"}));

    list.moveBy(3);
    list.deleteRecord();
    NotingExport::steps.clear();
    EXPECT_THROW(ExportGridToFile(exportClassOf<NotingExport>, cloneGrid, dir / "part.txt", true), EDatabaseError);
    EXPECT_EQ(NotingExport::steps, std::vector<std::string>{"prologue"});
    EXPECT_EQ(fileBytes(dir / "part.txt"), title + "\r\n4001\tN1\t1\r\n4002\tN2\t\r\n4003\tN3\t3\r\n");
    EXPECT_EQ(shown->fieldText("zkzh"), "4002");
    EXPECT_FALSE(shown->controlsDisabled());
}

} // namespace
