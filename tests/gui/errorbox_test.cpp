#include "gui/RecordingDialogs.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/common/HandlerGuard.hpp"

#include <QtTest>

#include <stdexcept>

using skorvin::test::RecordingDialogs;
using skorvin::ui::Dialogs;

namespace {

QByteArray gbkBytes(const char* utf8)
{
    return QByteArray::fromStdString(skorvin::gbk::fromUtf8(utf8));
}

} // namespace

class ErrorBoxTest : public QObject {
    Q_OBJECT

private slots:
    void textGetsAFinalStop_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("letter") << QByteArray("Table missing") << QByteArray("Table missing.");
        QTest::newRow("already a stop") << QByteArray("Done.") << QByteArray("Done.");
        QTest::newRow("exclamation") << QByteArray("Stop!") << QByteArray("Stop!");
        QTest::newRow("hyphen") << QByteArray("a-") << QByteArray("a-");
        QTest::newRow("blank") << QByteArray("trailing ") << QByteArray("trailing ");
        QTest::newRow("closing bracket") << QByteArray("(x)") << QByteArray("(x)");
        QTest::newRow("slash sorts after stop") << QByteArray("a/") << QByteArray("a/.");
        QTest::newRow("digit") << QByteArray("code 42") << QByteArray("code 42.");
        QTest::newRow("chinese") << gbkBytes("数据库错误") << gbkBytes("数据库错误.");
        QTest::newRow("chinese full stop") << gbkBytes("完成。") << gbkBytes("完成。.");
    }

    // The box shows the message with the rule applied, under the host program's name, with the stop icon.
    void textGetsAFinalStop()
    {
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, shown);
        RecordingDialogs recorder;
        skorvin::ui::runGuarded([&] { throw skorvin::EDatabaseError(message.toStdString()); });

        QCOMPARE(recorder.boxes().size(), std::size_t{1});
        const RecordingDialogs::Box& box = recorder.boxes().front();
        QCOMPARE(box.text, skorvin::ui::toQString(shown.toStdString()));
        QCOMPARE(box.icon, Dialogs::Icon::Stop);
        QCOMPARE(box.caption, QStringLiteral("gui_errorbox_test"));
    }

    void titleIsTheProgramName_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("title");
        QTest::newRow("lower already") << QByteArray("/usr/bin/skorvin-host") << QByteArray("skorvin-host");
        QTest::newRow("first letter kept") << QByteArray("/opt/exam/KaoWu.exe") << QByteArray("Kaowu");
        QTest::newRow("cut at first stop") << QByteArray("/opt/EXAM.HOST.EXE") << QByteArray("Exam");
        QTest::newRow("lower first kept") << QByteArray("/opt/eXAM") << QByteArray("exam");
        QTest::newRow("dot file") << QByteArray("/opt/.Host") << QByteArray();
        QTest::newRow("dots in folder only") << QByteArray("/opt/v1.2/Host") << QByteArray("Host");
        QTest::newRow("chinese first") << gbkBytes("/opt/考务ABC.exe") << gbkBytes("考务abc");
        // 丂 is the GBK pair 0x81 0x41: its trail byte has the value of "A" and must stay as it is.
        QTest::newRow("trail byte like a letter") << gbkBytes("/opt/X丂Y.exe") << gbkBytes("X丂y");
    }

    void titleIsTheProgramName()
    {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, title);
        QCOMPARE(QByteArray::fromStdString(skorvin::ui::HostProgramName(path.toStdString())), title);
    }

    void silentAbortShowsNothing()
    {
        RecordingDialogs recorder;
        skorvin::ui::runGuarded([] { skorvin::Abort(); });
        QVERIFY(recorder.boxes().empty());
    }

    // Whatever a handler throws is shown; nothing escapes the guard.
    void otherErrorsEndTheHandlerAndAreShown_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("shown");
        QTest::newRow("system error") << 0 << QStringLiteral("'x' is not a valid integer value.");
        QTest::newRow("standard error") << 1 << QStringLiteral("vector too long.");
        QTest::newRow("anything else") << 2 << QStringLiteral("Unknown error.");
    }

    void otherErrorsEndTheHandlerAndAreShown()
    {
        QFETCH(int, kind);
        QFETCH(QString, shown);
        RecordingDialogs recorder;
        skorvin::ui::runGuarded([&] {
            if (kind == 0)
                throw skorvin::EConvertError("'x' is not a valid integer value");
            if (kind == 1)
                throw std::length_error("vector too long");
            throw 42;
        });
        QCOMPARE(recorder.texts(), QStringList{shown});
        QCOMPARE(recorder.boxes().front().icon, Dialogs::Icon::Stop);
    }

    void infoAndErrorBoxes()
    {
        RecordingDialogs recorder;
        skorvin::ui::ShowInfo(skorvin::gbk::fromUtf8("保存成功"));
        skorvin::ui::ShowError(skorvin::gbk::fromUtf8("分数超出范围"));
        QCOMPARE(recorder.boxes().size(), std::size_t{2});
        QCOMPARE(recorder.boxes()[0].caption, QStringLiteral("信息"));
        QCOMPARE(recorder.boxes()[0].text, QStringLiteral("保存成功"));
        QCOMPARE(recorder.boxes()[0].icon, Dialogs::Icon::Information);
        QCOMPARE(recorder.boxes()[1].caption, QStringLiteral("错误"));
        QCOMPARE(recorder.boxes()[1].text, QStringLiteral("分数超出范围"));
        QCOMPARE(recorder.boxes()[1].icon, Dialogs::Icon::Error);
    }
};

QTEST_MAIN(ErrorBoxTest)
#include "errorbox_test.moc"
