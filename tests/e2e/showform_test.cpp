// ShowForm called by a host that is no Qt program: it only loads the library and
// passes an open connection. The library must create its own application object
// and keep it for the next call. A Qt start-up routine, which runs when that
// object is created, plays the operator: it notes every window and closes it.

#include "host/connection/HostConnection.hpp"
#include "library/SkorvinDLL.hpp"
#include "plain/DemoDb.hpp"
#include "plain/PostgresDb.hpp"
#include "platform/connection/TADOConnection.hpp"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const QString kCaption = QStringLiteral("四级主观题登分");
const std::string kTitle = "四级主观题登分(V3.00)";

struct Seen {
    std::vector<std::string> scoreWindows; // titles, UTF-8
    std::vector<std::string> otherWindows; // message boxes
};
Seen seen;

// Closes the window in front: a message box first, the score window once nothing covers it.
void closeFrontWindow()
{
    QWindow* front = QGuiApplication::modalWindow();
    if (!front || !front->isVisible() || !front->isExposed()) {
        return;
    }
    const QString title = front->title();
    (title.startsWith(kCaption) ? seen.scoreWindows : seen.otherWindows).push_back(title.toStdString());
    front->close();
}

void watchWindows()
{
    // Runs inside the application object's constructor; the checks start with the first event loop.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            auto* timer = new QTimer(QCoreApplication::instance());
            QObject::connect(timer, &QTimer::timeout, &closeFrontWindow);
            timer->start(20);
        },
        Qt::QueuedConnection);
}

class PlainHost : public testing::Test {
protected:
    void SetUp() override
    {
        // Offscreen unless the caller chose a platform (xvfb-run with xcb tries real foreign windows).
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        seen = {};
        // Run one by one, each test starts without an application object; run
        // together, the later ones find the one the library made for the first.
        static bool libraryMadeTheApplication = false;
        if (!libraryMadeTheApplication) {
            ASSERT_EQ(QCoreApplication::instance(), nullptr) << "the test host must not be a Qt program";
            qAddPreRoutine(&watchWindows);
            libraryMadeTheApplication = true;
        }
        library_ = dlopen(SKORVIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library_, nullptr) << dlerror();
        showForm_ = reinterpret_cast<skorvin::ShowFormProc>(dlsym(library_, "ShowForm"));
        ASSERT_NE(showForm_, nullptr);
    }

    void* library_ = nullptr;
    skorvin::ShowFormProc showForm_ = nullptr;
};

TEST_F(PlainHost, TwoCallsInARowEachOpenAWindowTitledWithTheVersion)
{
    skorvin::test::DemoDb db;
    skorvin::ado::TADOConnection connection(db.connectionString());
    connection.open();
    skorvin::host::HostConnection boundary(connection); // as the demo host passes it

    showForm_(0, 0, 0, 0, 0, 0, 0, &boundary);
    ASSERT_NE(QCoreApplication::instance(), nullptr);
    const QCoreApplication* application = QCoreApplication::instance();
    EXPECT_EQ(seen.scoreWindows, std::vector<std::string>{kTitle});

    showForm_(0, 7, 7, 7, 7, 7, 7, &boundary);
    EXPECT_EQ(QCoreApplication::instance(), application) << "the application object is kept between calls";
    EXPECT_EQ(seen.scoreWindows, (std::vector<std::string>{kTitle, kTitle}));
    EXPECT_TRUE(seen.otherWindows.empty()) << seen.otherWindows.front();
    EXPECT_TRUE(connection.connected()) << "the host's connection is only borrowed";
}

TEST_F(PlainHost, NoConnectionAndAForeignWindowIdStillOpenTheWindowAndReportTheFailure)
{
    showForm_(0xDEADBEEF, 0, 0, 0, 0, 0, 0, nullptr);
    EXPECT_EQ(seen.scoreWindows, std::vector<std::string>{kTitle});
    EXPECT_FALSE(seen.otherWindows.empty()) << "the failing query is reported in a message box";
}

// A server restart between two windows: a connection the host lets reopen itself opens the
// next window without an error box; one left alone reports the lost connection.
TEST_F(PlainHost, ServerRestartBetweenTwoWindowsIsMendedWhenTheHostLetsItsConnectionReopen)
{
    if (!skorvin::test::postgresServer()) {
        GTEST_SKIP() << skorvin::test::kNoPostgres;
    }
    skorvin::test::DemoDb db;
    skorvin::test::PostgresDb postgres;
    postgres.load(db);
    for (const bool reopen : {true, false}) {
        SCOPED_TRACE(reopen ? "reopening" : "left alone");
        skorvin::ado::TADOConnection connection(postgres.connectionString());
        connection.setReopenWhenLost(reopen);
        connection.open();
        skorvin::host::HostConnection boundary(connection); // as the demo host passes it
        showForm_(0, 0, 0, 0, 0, 0, 0, &boundary);
        ASSERT_TRUE(seen.otherWindows.empty()) << seen.otherWindows.front();

        skorvin::test::restartPostgres();
        seen = {};
        showForm_(0, 0, 0, 0, 0, 0, 0, &boundary);
        EXPECT_EQ(seen.scoreWindows, std::vector<std::string>{kTitle});
        EXPECT_EQ(seen.otherWindows.empty(), reopen);
        seen = {};
    }
}

TEST_F(PlainHost, TheHostsNumberFormatStaysAsTheHostSetIt)
{
    if (QCoreApplication::instance()) {
        GTEST_SKIP() << "the application object was made by an earlier test in this process";
    }
    // Qt switches the C library to the user's locale when it starts: here C.UTF-8.
    setenv("LC_ALL", "C.UTF-8", 1);
    std::setlocale(LC_ALL, "C");
    skorvin::test::DemoDb db;
    skorvin::ado::TADOConnection connection(db.connectionString());
    connection.open();
    skorvin::host::HostConnection boundary(connection); // as the demo host passes it

    showForm_(0, 0, 0, 0, 0, 0, 0, &boundary);
    ASSERT_EQ(seen.scoreWindows.size(), 1u);
    ASSERT_STRNE(std::setlocale(LC_CTYPE, nullptr), "C") << "Qt left the locale alone; nothing to check";
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
}

} // namespace
