// ShowForm called by a Qt host in the same process, the way the demo host calls it:
// the score window belongs to the host's main window, runs modally over it, every
// call starts afresh from the examination settings, and a call made while the
// window is open opens no second one.

#include "host/connection/HostConnection.hpp"
#include "library/SkorvinDLL.hpp"
#include "plain/DemoDb.hpp"
#include "platform/connection/TADOConnection.hpp"

#include <QAbstractItemModel>
#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QWindow>
#include <dlfcn.h>

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
    return tree ? tree->currentIndex().data().toString() : QString();
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

private:
    void* library_ = nullptr;
    skorvin::ShowFormProc showForm_ = nullptr;
};

QTEST_MAIN(QtHost)
#include "qthost_test.moc"
