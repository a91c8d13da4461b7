// Ctrl+C on the library's real message boxes (every box of the score window and of the preview
// goes through them): caption and text land on the clipboard as plain text, ready for a mail.
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "ui/common/HandlerGuard.hpp"
#include "ui/seams/Dialogs.hpp"

#include <QtTest>

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QTimer>

#include <functional>

namespace {

QString copiedBox(const QString& caption, const QString& text)
{
    const QString rule = QStringLiteral("---------------------------\n");
    return rule + caption + QLatin1Char('\n') + rule + text + QLatin1Char('\n') + rule;
}

} // namespace

class MessageBoxCopyTest : public QObject {
    Q_OBJECT

private slots:
    void ctrlCCopiesCaptionAndText_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        const QString notFound = QStringLiteral("准考证号 41100100001 的考生属于“110101-第一考点”，不在当前列表中。");
        QTest::newRow("信息") << 0 << QStringLiteral("信息") << notFound;
        QTest::newRow("错误") << 1 << QStringLiteral("错误") << QStringLiteral("未能保存：数据库中没有该考生");
        QTest::newRow("central error box")
            << 2 << QStringLiteral("gui_messagebox_copy_test") << QStringLiteral("no such table: t_omr.");
        QTest::newRow("OK/Cancel question") << 3 << QStringLiteral("确认") << QStringLiteral("Delete record?");
        QTest::newRow("Yes/No question") << 4 << QStringLiteral("确认")
                                         << QStringLiteral("撤销考生 41100100001 的分数 20，恢复为 （空）？");
    }

    void ctrlCCopiesCaptionAndText()
    {
        QFETCH(int, kind);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QString copied;
        bool boxSeen = false;
        // The operator in front of the box: Ctrl+C where the focus is (a button), then closes it.
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            boxSeen = true;
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_C, Qt::ControlModifier);
            copied = QApplication::clipboard()->text();
            box->reject();
        });
        const std::string gbk = skorvin::gbk::fromUtf8(text.toStdString());
        auto& boxes = skorvin::ui::Replaceable<skorvin::ui::Dialogs>::inForce();
        switch (kind) {
        case 0:
            skorvin::ui::ShowInfo(gbk);
            break;
        case 1:
            skorvin::ui::ShowError(gbk);
            break;
        case 2:
            skorvin::ui::runGuarded([] { throw skorvin::EDatabaseError("no such table: t_omr"); });
            break;
        case 3:
            boxes.confirm(nullptr, caption, text);
            break;
        default:
            boxes.ask(nullptr, caption, text, true);
            break;
        }
        QVERIFY(boxSeen);
        QCOMPARE(copied, copiedBox(caption, text));
    }
};

QTEST_MAIN(MessageBoxCopyTest)
#include "messagebox_copy_test.moc"
