// skorvin-host: the demo host. It loads the score-entry library by file name,
// opens the examination database and calls ShowForm with its own main window.

#include "host/HostOptions.hpp"
#include "host/HostWindow.hpp"
#include "host/LibraryLoader.hpp"
#include "host/ScreenshotTaker.hpp"
#include "host/demodb/DemoDb.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "platform/HostPaths.hpp"
#include "platform/connection/ConnectionString.hpp"
#include "platform/connection/TADOConnection.hpp"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace skorvin;

constexpr int kStartFailed = 2;
constexpr std::int64_t kDemoCandidates = 20000;

// One line on stderr, in the terminal's encoding; a message may span lines.
void failNative(std::string line)
{
    for (char& c : line) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    std::fprintf(stderr, "skorvin-host: %s\n", line.c_str());
}

// The system's own messages are GBK.
void fail(const std::exception& error, const std::string& context = {})
{
    const bool gbkText = dynamic_cast<const Exception*>(&error) != nullptr;
    failNative(context + (gbkText ? gbk::toUtf8(error.what()) : std::string(error.what())));
}

std::filesystem::path pathFromGbk(const std::string& text)
{
#ifdef _WIN32
    return std::filesystem::path(text);
#else
    return std::filesystem::path(gbk::toUtf8(text));
#endif
}

int makeDemoDb(const host::HostOptions& options)
{
    demodb::Options demo;
    demo.candidates = options.candidates;
    demo.generation = options.generation;
    demo.seed = options.seed;
    const demodb::Summary summary = demodb::create(*options.makeDemoDb, demo);
    std::printf("%s: %lld level-4 candidates at %zu exam sites\n", options.makeDemoDb->string().c_str(),
                static_cast<long long>(summary.level4), summary.sites.size());
    return 0;
}

// The demo database beside the host, written on the first start.
std::string demoConnectionString()
{
    const std::string file = hostFolder() + "demo-exam.sqlite";
    const std::filesystem::path path = pathFromGbk(file);
    if (!std::filesystem::exists(path)) {
        demodb::Options demo;
        demo.candidates = kDemoCandidates;
        demodb::create(path, demo);
        std::printf("Created the demo database %s\n", path.string().c_str());
    }
    return "Provider=SQLite;Data Source=" + file;
}

// Qt ends the process when it finds no display; say so in one line instead.
bool displayAvailable()
{
#if defined(_WIN32) || defined(__APPLE__)
    return true;
#else
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
#endif
}

int run(int argc, char** argv, const host::HostOptions& options)
{
    std::unique_ptr<host::LibraryLoader> library;
    try {
        library = std::make_unique<host::LibraryLoader>(pathFromGbk(hostFolder()) / host::LibraryLoader::fileName());
    } catch (const std::exception& e) {
        fail(e);
        return kStartFailed;
    }
    const char* version = library->GetVersion();
    std::printf("SkorvinDLL version %s\n", version);
    std::fflush(stdout);

    std::string connectionString;
    ado::TADOConnection connection;
    try {
        connectionString = options.connection ? *options.connection : demoConnectionString();
        connection.setConnectionString(connectionString);
        // After a server restart the next operation opens the connection again, so the
        // operator need not restart this program; a save is never repeated unasked.
        connection.setReopenWhenLost(true);
        connection.open();
    } catch (const std::exception& e) {
        fail(e, "cannot open the examination database: ");
        return kStartFailed;
    }

    if (!displayAvailable()) {
        failNative("no display to show the window on (set DISPLAY, or QT_QPA_PLATFORM=offscreen with --screenshot)");
        return kStartFailed;
    }
    QApplication app(argc, argv);

    host::HostWindow window(
        library->ShowForm, QString::fromLatin1(version),
        QString::fromStdString(gbk::toUtf8(ado::ConnectionString::withoutPasswords(connectionString))), connection);
    window.show();

    std::unique_ptr<host::ScreenshotTaker> screenshot;
    if (options.screenshot) {
        screenshot =
            std::make_unique<host::ScreenshotTaker>(QString::fromStdU16String(options.screenshot->u16string()));
    }
    QTimer::singleShot(0, &window, [&] {
        if (screenshot) {
            screenshot->start();
        }
        window.openScoreWindow();
        if (screenshot) {
            app.quit();
        }
    });
    const int status = app.exec();
    if (screenshot) {
        if (screenshot->result() == 0) {
            std::printf("Screenshot saved: %s\n", options.screenshot->string().c_str());
        }
        return screenshot->result();
    }
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    host::HostOptions options;
    try {
        options = host::parseArguments(argc, argv);
    } catch (const host::UsageError& e) {
        std::fprintf(stderr, "skorvin-host: %s\n", e.what());
        return kStartFailed;
    }
    if (options.help) {
        std::fputs(host::usageText(), stdout);
        return 0;
    }
    if (options.makeDemoDb) {
        try {
            return makeDemoDb(options);
        } catch (const std::exception& e) {
            fail(e);
            return kStartFailed;
        }
    }
    return run(argc, argv, options);
}
