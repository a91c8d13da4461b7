#include "gui/RecordingDialogs.hpp"
#include "gui/ScoreWindow.hpp"
#include "plain/ScratchDb.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/score/WindowImages.hpp"
#include "ui/score/frmFSSet_UNIT.hpp"
#include "ui/score/frmSkorvin_UNIT.hpp"
#include "ui/widgets/TRadioGroup.hpp"

#include <QtTest>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QSplitterHandle>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeView>

#include <memory>

using skorvin::test::RecordingDialogs;
using skorvin::test::ScratchDb;
using skorvin::ui::TfrmSkorvin;

namespace {

// The window on a small database that has just what its creation reads.
struct OpenWindow {
    explicit OpenWindow(const char* version = "3.00")
    {
        // Empty tables for everything the start-up reads, so that showing the window reports nothing.
        db.run({"create table t_version (dbversion varchar(10))",
                std::string("insert into t_version values ('") + version + "')",
                "create table t_setting (ParamName varchar(20), ParamValue varchar(50))",
                "create table t_scbjg (dm varchar(10), dwmc varchar(50), jb int, szds varchar(10))",
                "create view v_ssjg as select dm, dwmc from t_scbjg where jb = 1",
                "create view v_dsjg as select dm, dwmc from t_scbjg where jb = 2",
                "create view v_kdjg as select dm, dwmc, szds from t_scbjg where jb = 3",
                "create table t_omr (zkzh varchar(20), tttt varchar(10), qk varchar(2))",
                "create table t_bm (zkzh varchar(20), xm varchar(20))"});
        state.HostConnection = &db.connection();
        window = std::make_unique<TfrmSkorvin>(state, skorvin::test::windowFiles());
    }

    // Back to the design size (the window maximises itself when created).
    void designSize() const
    {
        window->setWindowState(Qt::WindowNoState);
        window->resize(679, 461);
    }

    template <typename T = QWidget> T* child(const char* name) const
    {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control named %s", name);
        return widget;
    }

    ScratchDb db;
    skorvin::exam::ModuleState state;
    std::unique_ptr<TfrmSkorvin> window;
};

QString captionOf(QWidget* widget)
{
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        return box->title();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    return {};
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void controlsAndCaptions_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("GroupBox1") << QByteArray("GroupBox1") << QStringLiteral("机构列表");
        QTest::newRow("GroupBox2") << QByteArray("GroupBox2") << QStringLiteral("输入数据");
        QTest::newRow("Label1") << QByteArray("Label1") << QStringLiteral("准考证号：");
        QTest::newRow("Label2") << QByteArray("Label2") << QStringLiteral("分    数：");
        QTest::newRow("spbtnSave") << QByteArray("spbtnSave") << QStringLiteral("确定");
        QTest::newRow("RadioGroup1") << QByteArray("RadioGroup1") << QStringLiteral("显示");
        QTest::newRow("SpeedButton2") << QByteArray("SpeedButton2") << QStringLiteral("打印");
        QTest::newRow("btnSet") << QByteArray("btnSet") << QStringLiteral("题目满分值");
        QTest::newRow("btnExport") << QByteArray("btnExport") << QStringLiteral("导出");
        QTest::newRow("btnExit") << QByteArray("btnExit") << QStringLiteral("退出");
        QTest::newRow("edtZKZ") << QByteArray("edtZKZ") << QString();
        QTest::newRow("edtFS") << QByteArray("edtFS") << QString();
        QTest::newRow("TreeView1") << QByteArray("TreeView1") << QString();
        QTest::newRow("DataGrid1") << QByteArray("DataGrid1") << QString();
        QTest::newRow("Panel1") << QByteArray("Panel1") << QString();
        QTest::newRow("Panel3") << QByteArray("Panel3") << QString();
        QTest::newRow("Splitter1") << QByteArray("Splitter1") << QString();
        QTest::newRow("StatusBar1") << QByteArray("StatusBar1") << QString();
    }

    // Every control is there with its caption, drawn in a font that has the Chinese characters.
    void controlsAndCaptions()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, caption);
        OpenWindow w;
        QWidget* control = w.child(name.constData());
        QCOMPARE(captionOf(control), caption);
        QCOMPARE(control->font().pixelSize(), 12);
        QVERIFY(QFontMetrics(control->font()).inFontUcs4(U'\u56DB')); // 四
    }

    void windowCaptionAndChoices()
    {
        OpenWindow w;
        QCOMPARE(w.window->windowTitle(), QStringLiteral("四级主观题登分"));

        auto* choice = w.child<skorvin::ui::TRadioGroup>("RadioGroup1");
        QCOMPARE(choice->itemIndex(), 0);
        QCOMPARE(choice->button(0)->text(), QStringLiteral("未登分"));
        QCOMPARE(choice->button(1)->text(), QStringLiteral("已登分"));
        QCOMPARE(choice->button(2)->text(), QStringLiteral("所有"));
        // Three columns: one row of three buttons, left to right.
        QCOMPARE(choice->button(1)->y(), choice->button(0)->y());
        QCOMPARE(choice->button(2)->y(), choice->button(0)->y());
        QVERIFY(choice->button(0)->x() < choice->button(1)->x());
        QVERIFY(choice->button(1)->x() < choice->button(2)->x());

        auto* grid = w.child<skorvin::ui::TDataGrid>("DataGrid1");
        QCOMPARE(grid->dataSet()->name(), std::string("Main_AdoSet"));
        const auto& columns = grid->columns();
        QCOMPARE(columns.size(), std::size_t{3});
        QCOMPARE(columns[0].fieldName, std::string("zkzh"));
        QCOMPARE(columns[0].title, QStringLiteral("准考证号"));
        QCOMPARE(columns[0].width, 120);
        QCOMPARE(columns[1].fieldName, std::string("xm"));
        QCOMPARE(columns[1].title, QStringLiteral("姓名"));
        QVERIFY(columns[1].readOnly && columns[1].titleButton);
        QCOMPARE(columns[2].fieldName, std::string("tttt"));
        QCOMPARE(columns[2].title, QStringLiteral("主观题分数"));
        QCOMPARE(columns[2].background, QApplication::palette().color(QPalette::ToolTipBase));

        auto* tree = w.child<QTreeView>("TreeView1");
        QCOMPARE(tree->indentation(), 19);
        QCOMPARE(tree->iconSize(), QSize(16, 16));
        QCOMPARE(tree->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(w.child<QLabel>("StatusPanel0")->width(), 200);
    }

    // The keys no button names stay in sight at the status bar's right end, whole, at the design
    // size and maximised, beside a whole count; each button without a caption key names its own.
    void keysAreNamed()
    {
        OpenWindow w;
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        auto* keys = w.child<QLabel>("StatusKeys");
        auto* count = w.child<QLabel>("StatusPanel1");
        for (bool design : {false, true}) {
            if (design)
                w.designSize();
            QCoreApplication::processEvents();
            QVERIFY(keys->isVisible());
            QCOMPARE(keys->text(), QStringLiteral("Ctrl+P 打印 · Ctrl+J 登分日志 · Ctrl+Z 撤销 · F5 刷新"));
            QVERIFY(keys->width() >= keys->fontMetrics().horizontalAdvance(keys->text()));
            QVERIFY(count->geometry().right() < keys->geometry().left());
            QVERIFY(count->width() >= count->fontMetrics().horizontalAdvance(QStringLiteral("考生数：12345/67890")));
        }
        QVERIFY(w.child("SpeedButton2")->toolTip().contains(QStringLiteral("Ctrl+P")));
        for (const char* button : {"btnExport", "btnSet"})
            QVERIFY2(w.child(button)->toolTip().contains(QStringLiteral("Enter")), button);
    }

    void pictures()
    {
        const std::vector<QIcon> tree = skorvin::ui::treeImages();
        QCOMPARE(tree.size(), std::size_t{9});
        for (const QIcon& image : tree)
            QCOMPARE(image.pixmap(16, 16).size(), QSize(16, 16));
        // Selected and normal pictures of a node differ.
        QVERIFY(tree[0].pixmap(16, 16).toImage() != tree[1].pixmap(16, 16).toImage());

        const QIcon exportGlyph = skorvin::ui::glyph(skorvin::ui::Glyph::Export);
        const QImage normal = exportGlyph.pixmap(QSize(16, 15)).toImage();
        QCOMPARE(normal.size(), QSize(16, 15));
        QVERIFY(normal != exportGlyph.pixmap(QSize(16, 15), QIcon::Disabled).toImage());
        for (auto which : {skorvin::ui::Glyph::Save, skorvin::ui::Glyph::Print, skorvin::ui::Glyph::ScoreSettings,
                           skorvin::ui::Glyph::Exit})
            QCOMPARE(skorvin::ui::glyph(which).pixmap(QSize(16, 15)).size(), QSize(16, 15));
    }

    void designGeometry_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("Panel1") << QByteArray("Panel1") << QRect(0, 0, 679, 437);
        QTest::newRow("StatusBar1") << QByteArray("StatusBar1") << QRect(0, 436, 679, 25);
        QTest::newRow("Splitter1") << QByteArray("Splitter1") << QRect(0, 0, 679, 437);
        QTest::newRow("GroupBox1") << QByteArray("GroupBox1") << QRect(0, 0, 201, 437);
        QTest::newRow("Panel3") << QByteArray("Panel3") << QRect(204, 0, 475, 437);
        QTest::newRow("DataGrid1") << QByteArray("DataGrid1") << QRect(0, 6, 472, 344);
        QTest::newRow("GroupBox2") << QByteArray("GroupBox2") << QRect(1, 352, 280, 80);
        QTest::newRow("Label1") << QByteArray("Label1") << QRect(12, 22, 65, 13);
        QTest::newRow("edtZKZ") << QByteArray("edtZKZ") << QRect(74, 18, 193, 20);
        QTest::newRow("Label2") << QByteArray("Label2") << QRect(12, 52, 66, 13);
        QTest::newRow("edtFS") << QByteArray("edtFS") << QRect(74, 48, 129, 20);
        QTest::newRow("spbtnSave") << QByteArray("spbtnSave") << QRect(202, 48, 65, 21);
        QTest::newRow("RadioGroup1") << QByteArray("RadioGroup1") << QRect(292, 352, 173, 32);
        QTest::newRow("SpeedButton2") << QByteArray("SpeedButton2") << QRect(293, 386, 75, 22);
        QTest::newRow("btnSet") << QByteArray("btnSet") << QRect(376, 386, 89, 22);
        QTest::newRow("btnExport") << QByteArray("btnExport") << QRect(293, 410, 75, 22);
        QTest::newRow("btnExit") << QByteArray("btnExit") << QRect(376, 410, 89, 22);
    }

    void designGeometry()
    {
        QFETCH(QByteArray, name);
        QFETCH(QRect, geometry);
        OpenWindow w;
        w.designSize();
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        QCOMPARE(w.child(name.constData())->geometry(), geometry);
    }

    void resizing_data()
    {
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::newRow("wider") << 200 << 0;
        QTest::newRow("taller") << 0 << 150;
        QTest::newRow("both") << 321 << 179;
        QTest::newRow("smaller") << -60 << -40;
    }

    // The grid takes every extra pixel, the entry group stays bottom-left and the
    // buttons bottom-right, the tree column keeps its width.
    void resizing()
    {
        QFETCH(int, dx);
        QFETCH(int, dy);
        OpenWindow w;
        w.designSize();
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        w.window->resize(679 + dx, 461 + dy);

        QCOMPARE(w.child("DataGrid1")->geometry(), QRect(0, 6, 472 + dx, 344 + dy));
        QCOMPARE(w.child("GroupBox2")->geometry(), QRect(1, 352 + dy, 280 + dx, 80));
        QCOMPARE(w.child("edtZKZ")->geometry(), QRect(74, 18, 193, 20));
        QCOMPARE(w.child("RadioGroup1")->geometry(), QRect(292 + dx, 352 + dy, 173, 32));
        QCOMPARE(w.child("SpeedButton2")->geometry(), QRect(293 + dx, 386 + dy, 75, 22));
        QCOMPARE(w.child("btnSet")->geometry(), QRect(376 + dx, 386 + dy, 89, 22));
        QCOMPARE(w.child("btnExport")->geometry(), QRect(293 + dx, 410 + dy, 75, 22));
        QCOMPARE(w.child("btnExit")->geometry(), QRect(376 + dx, 410 + dy, 89, 22));
        QCOMPARE(w.child("GroupBox1")->geometry(), QRect(0, 0, 201, 437 + dy));
        QCOMPARE(w.child("StatusBar1")->geometry(), QRect(0, 436 + dy, 679 + dx, 25));
    }

    void splitterWidensTheTreeColumn()
    {
        OpenWindow w;
        w.designSize();
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        QSplitterHandle* handle = w.child<QSplitter>("Splitter1")->handle(1);

        const QPoint grip = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        // A move carrying the held button: QTest's own move does not carry it on every Qt version.
        const QPoint to = grip + QPoint(60, 0);
        QMouseEvent drag(QEvent::MouseMove, to, handle->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(handle, &drag);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, to);

        // The handle follows the mouse to within a pixel; the panel on the right gives up what the tree takes.
        const int tree = w.child("GroupBox1")->width();
        QVERIFY2(tree >= 259 && tree <= 262, qPrintable(QString::number(tree)));
        QCOMPARE(w.child("Panel3")->geometry(), QRect(tree + 3, 0, 679 - tree - 3, 437));
        QCOMPARE(w.child("DataGrid1")->width(), 472 - (tree - 201));
        QCOMPARE(w.child("RadioGroup1")->x(), 292 - (tree - 201));
    }

    void tabGoesFromNumberToScore()
    {
        OpenWindow w;
        w.window->show();
        w.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        auto* number = w.child<QLineEdit>("edtZKZ");
        number->setFocus();
        QTest::keyClick(number, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.child("edtFS"));
        // The speed buttons never take the focus from the entry boxes.
        QCOMPARE(w.child("spbtnSave")->focusPolicy(), Qt::NoFocus);
    }

    // Enter belongs to the entry boxes and Esc to the grid: neither may reach a button or close the window.
    void onlyTheExitButtonCloses()
    {
        RecordingDialogs recorder;
        OpenWindow w;
        w.window->show();
        w.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QTest::keyClick(w.child("edtZKZ"), Qt::Key_Return);
        QTest::keyClick(w.child("edtFS"), Qt::Key_Enter);
        QTest::keyClick(w.window.get(), Qt::Key_Escape);
        QVERIFY(w.window->isVisible());
        // Enter went to the entry workflow of each box, not to a default button.
        QCOMPARE(recorder.texts(), (QStringList{QStringLiteral("您输入的考生准考证号码不存在！请确认后重新输入！"),
                                                QStringLiteral("请输入准考证号码！")}));
        for (QPushButton* button : w.window->findChildren<QPushButton*>())
            QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));

        QSignalSpy finished(w.window.get(), &QDialog::finished);
        QTest::mouseClick(w.child<QPushButton>("btnExit"), Qt::LeftButton);
        QVERIFY(!w.window->isVisible());
        QCOMPARE(finished.count(), 1);
    }

    // Enter on a focused button clicks it, as Space does (there is still no default button).
    void enterClicksTheFocusedButton()
    {
        RecordingDialogs recorder;
        OpenWindow w;
        w.window->show();
        w.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        int settingsShown = 0;
        skorvin::ui::setScoreSettingsRunner([&](skorvin::ui::TfrmFSSet&) {
            ++settingsShown;
            return int(QDialog::Rejected);
        });
        auto* settings = w.child<QPushButton>("btnSet");
        // Each click leaves the focus in 准考证号, so the button is focused again for the next key.
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            settings->setFocus();
            QTest::keyClick(settings, key);
        }
        skorvin::ui::setScoreSettingsRunner({});
        QCOMPARE(settingsShown, 2);
        QVERIFY(w.window->isVisible());

        auto* exit = w.child<QPushButton>("btnExit");
        exit->setFocus();
        QTest::keyClick(exit, Qt::Key_Return);
        QVERIFY(!w.window->isVisible());
        QVERIFY2(recorder.boxes().empty(), qPrintable(recorder.texts().join(" | ")));
    }

    void settingsButtonOpensTheScoreSettings()
    {
        OpenWindow w;
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        std::vector<QWidget*> owners;
        skorvin::ui::setScoreSettingsRunner([&](skorvin::ui::TfrmFSSet& dialog) {
            owners.push_back(dialog.parentWidget());
            return int(QDialog::Rejected);
        });
        QTest::mouseClick(w.child<QPushButton>("btnSet"), Qt::LeftButton);
        skorvin::ui::setScoreSettingsRunner({});
        QCOMPARE(owners, std::vector<QWidget*>{w.window.get()});
    }

    void creationReadsTheSchemaGeneration_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<int>("generation");
        QTest::addColumn<int>("siteCodeLength");
        QTest::newRow("current") << QByteArray("3.00") << 2 << 6;
        QTest::newRow("older") << QByteArray("2.10") << 1 << 4;
    }

    void creationReadsTheSchemaGeneration()
    {
        QFETCH(QByteArray, version);
        QFETCH(int, generation);
        QFETCH(int, siteCodeLength);
        RecordingDialogs recorder;
        OpenWindow w(version.constData());
        QCOMPARE(recorder.texts(), QStringList());
        QCOMPARE(w.state.SchemaGeneration, generation);
        QCOMPARE(w.state.SiteCodeLen, siteCodeLength);
        QVERIFY(w.window->windowState() & Qt::WindowMaximized);
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        QCOMPARE(w.window->frameGeometry(), w.window->screen()->availableGeometry());
    }

    // A failed creation is reported in the error box and the window still opens,
    // with the schema values as they were.
    void failedCreationStillOpens()
    {
        RecordingDialogs recorder;
        skorvin::exam::ModuleState state;
        state.SchemaGeneration = 7;
        TfrmSkorvin noConnection(state, skorvin::test::windowFiles());
        QCOMPARE(recorder.texts(), QStringList{QStringLiteral("Missing Connection or ConnectionString.")});
        QCOMPARE(recorder.boxes().front().icon, skorvin::ui::Dialogs::Icon::Stop);
        QCOMPARE(state.SchemaGeneration, 7);
        noConnection.show();
        QVERIFY(QTest::qWaitForWindowExposed(&noConnection));

        recorder.clear();
        ScratchDb empty;
        state.HostConnection = &empty.connection();
        TfrmSkorvin noVersionTable(state, skorvin::test::windowFiles());
        QCOMPARE(recorder.boxes().size(), std::size_t{1});
        QVERIFY2(recorder.boxes().front().text.contains(QStringLiteral("t_version")),
                 qPrintable(recorder.boxes().front().text));
        QCOMPARE(state.SchemaGeneration, 7);
        noVersionTable.show();
        QVERIFY(QTest::qWaitForWindowExposed(&noVersionTable));
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
