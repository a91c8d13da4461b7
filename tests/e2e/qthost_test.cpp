// ShowForm called by a Qt host in the same process, the way the demo host calls it:
// the score window belongs to the host's main window, runs modally over it, every
// call starts afresh from the examination settings, a call made while the
// window is open opens no second one, and what the library keeps for its life
// (the preview's zoom) reaches the next call.

#include "host/connection/HostConnection.hpp"
#include "library/SkorvinDLL.hpp"
#include "plain/DemoDb.hpp"
#include "platform/connection/TADOConnection.hpp"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QWindow>
#include <dlfcn.h>

#include <filesystem>
#include <functional>

namespace {

QWidget* openScoreWindow()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->inherits("skorvin::ui::TfrmSkorvin") && modal->windowHandle() &&
        modal->windowHandle()->isExposed()) {
        return modal;
    }
    return nullptr;
}

QString currentNode(QWidget* form)
{
    auto* tree = form->findChild<QTreeView*>(QStringLiteral("TreeView1"));
    // The node's own text, without the count the tree shows after it.
    static const QRegularExpression count(QStringLiteral(" \\(\\d+/\\d+\\)$"));
    return tree ? tree->currentIndex().data().toString().remove(count) : QString();
}

// Calls onWindow with each score window once it is open in front, then closes it.
class Operator : public QObject {
public:
    explicit Operator(std::function<void(QWidget*)> onWindow) : onWindow_(std::move(onWindow))
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (QWidget* form = openScoreWindow()) {
                onWindow_(form);
                form->close();
            }
        });
        timer_.start(20);
    }

private:
    std::function<void(QWidget*)> onWindow_;
    QTimer timer_;
};

bool isExposed(QWidget* window)
{
    return window->windowHandle() && window->windowHandle()->isExposed();
}

// The shipped score sheet template, put where the library looks for it: beside the host.
class InstalledTemplate {
public:
    InstalledTemplate()
    {
        std::filesystem::create_directories(folder_);
        std::filesystem::copy_file(SKORVIN_REPORT_TEMPLATE,
                                   folder_ / std::filesystem::path(SKORVIN_REPORT_TEMPLATE).filename(),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    ~InstalledTemplate() { std::filesystem::remove_all(folder_); }
    InstalledTemplate(const InstalledTemplate&) = delete;
    InstalledTemplate& operator=(const InstalledTemplate&) = delete;

private:
    const std::filesystem::path folder_ =
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / "报表";
};

} // namespace

class QtHost : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        library_ = dlopen(SKORVIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        QVERIFY2(library_, dlerror());
        showForm_ = reinterpret_cast<skorvin::ShowFormProc>(dlsym(library_, "ShowForm"));
        QVERIFY(showForm_);
    }

    void scoreWindowBelongsToTheHostWindowAndStartsFromTheSettingsEachTime()
    {
        skorvin::test::DemoDb db;
        skorvin::ado::TADOConnection connection(db.connectionString());
        connection.open();
        skorvin::host::HostConnection boundary(connection); // as the demo host passes it
        QMainWindow host;
        host.setWindowTitle(QStringLiteral("host"));
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));

        struct Seen {
            QString title;
            bool ownedByHost = false;
            bool hostBlocked = false;
            QString startNode;
        };
        QList<Seen> seen;
        bool reentryReturned = false;
        Operator person([&](QWidget* form) {
            Seen s;
            s.title = form->windowTitle();
            s.ownedByHost =
                form->parentWidget() == &host && form->windowHandle()->transientParent() == host.windowHandle();
            s.hostBlocked = form->isModal() && QApplication::activeModalWidget() == form;
            s.startNode = currentNode(form);
            seen.append(s);
            if (seen.size() == 1) {
                // A call while the window is open only brings that window forward.
                showForm_(static_cast<std::uintptr_t>(host.winId()), 0, 0, 0, 0, 0, 0, &boundary);
                reentryReturned = true;
                // The operator moves to another province before closing the first window.
                auto* tree = form->findChild<QTreeView*>(QStringLiteral("TreeView1"));
                const QModelIndex root = tree->model()->index(0, 0);
                const QModelIndex hebei = tree->model()->index(1, 0, root);
                tree->expand(root);
                tree->scrollTo(hebei);
                QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(hebei).center());
                seen.last().startNode += QStringLiteral(" then ") + currentNode(form);
            }
        });

        showForm_(static_cast<std::uintptr_t>(host.winId()), 0, 0, 0, 0, 0, 0, &boundary);
        showForm_(static_cast<std::uintptr_t>(host.winId()), 0, 0, 0, 0, 0, 0, &boundary);

        QCOMPARE(seen.size(), 2);
        QVERIFY(reentryReturned);
        for (const Seen& s : seen) {
            QCOMPARE(s.title, QStringLiteral("四级主观题登分(V3.00)"));
            QVERIFY(s.ownedByHost);
            QVERIFY(s.hostBlocked);
        }
        QCOMPARE(seen[0].startNode, QStringLiteral("11-北京市 then 13-河北省"));
        QCOMPARE(seen[1].startNode, QStringLiteral("11-北京市"));
        QVERIFY(host.isVisible());
    }

    // The zoom chosen in the preview of one call opens the preview of the next call.
    void theZoomChosenInOnePreviewOpensThePreviewOfTheNextCall()
    {
        QTemporaryDir settingsHome; // the preview keeps its placement in the user's settings
        qputenv("XDG_CONFIG_HOME", settingsHome.path().toUtf8());
        const InstalledTemplate sheet;
        skorvin::test::DemoDb db;
        skorvin::ado::TADOConnection connection(db.connectionString());
        connection.open();
        skorvin::host::HostConnection boundary(connection); // as the demo host passes it

        // Each call: print from the score window, act on the preview, close both.
        QStringList zoomOnOpening;
        QStringList otherWindows; // a box instead of the preview
        std::function<void(QWidget*)> inPreview;
        bool printed = false;
        QTimer operatorTimer;
        connect(&operatorTimer, &QTimer::timeout, this, [&] {
            QWidget* front = QApplication::activeModalWidget();
            if (!front || !isExposed(front))
                return;
            if (front->objectName() == QStringLiteral("ReportPreview")) {
                auto* zoom = front->findChild<QToolButton*>(QStringLiteral("btnZoom"));
                zoomOnOpening.append(zoom->text());
                inPreview(front);
                front->close();
            } else if (front == openScoreWindow()) {
                if (printed) {
                    front->close();
                    return;
                }
                printed = true;
                // Clicked from the event loop, so this timer goes on firing inside the preview.
                auto* print = front->findChild<QAbstractButton*>(QStringLiteral("SpeedButton2"));
                QTimer::singleShot(0, print, [print] { QTest::mouseClick(print, Qt::LeftButton); });
            } else {
                otherWindows.append(front->windowTitle());
                front->close();
            }
        });
        operatorTimer.start(20);

        inPreview = [](QWidget* preview) {
            const QList<QAction*> items =
                preview->findChild<QToolButton*>(QStringLiteral("btnZoom"))->menu()->actions();
            for (QAction* item : items) {
                if (item->text() == QStringLiteral("50%"))
                    item->trigger();
            }
        };
        showForm_(0, 0, 0, 0, 0, 0, 0, &boundary);
        printed = false;
        inPreview = [](QWidget*) {};
        showForm_(0, 0, 0, 0, 0, 0, 0, &boundary);

        QVERIFY2(otherWindows.isEmpty(), qPrintable(otherWindows.join(QStringLiteral(", "))));
        QCOMPARE(zoomOnOpening, (QStringList{QStringLiteral("100%"), QStringLiteral("50%")}));
    }

private:
    void* library_ = nullptr;
    skorvin::ShowFormProc showForm_ = nullptr;
};

QTEST_MAIN(QtHost)
#include "qthost_test.moc"
