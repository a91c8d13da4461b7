// The search and print dialogs on their own: built, filled by key and mouse, accepted,
// and the print dialog's choice printed to a real PDF file.
#include "gui/OwnSettingsStore.hpp"
#include "gui/PdfText.hpp"
#include "gui/RecordingDialogs.hpp"
#include "gui/RecordingPrinters.hpp"
#include "gui/RecordingReportWindows.hpp"
#include "platform/Gbk.hpp"
#include "report/BuiltReport.hpp"
#include "ui/preview/ReportFindDialog.hpp"
#include "ui/preview/ReportPrintDialog.hpp"
#include "ui/preview/ReportPrinting.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using skorvin::report::PageParity;
using skorvin::ui::FindChoice;
using skorvin::ui::PrintChoice;
using skorvin::ui::ReportFindDialog;
using skorvin::ui::ReportPrintDialog;

namespace {

template <typename T> T* child(const QWidget& parent, const char* name)
{
    auto* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

QStringList groupTitles(const QWidget& dialog)
{
    QStringList titles;
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>())
        titles << group->title();
    titles.sort();
    return titles;
}

QStringList buttonTexts(const QWidget& dialog)
{
    QStringList texts;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>())
        texts << button->text();
    texts.sort();
    return texts;
}

} // namespace

class ReportDialogsTest : public QObject {
    Q_OBJECT

private:
    skorvin::test::OwnSettingsStore settingsHome_;

private slots:
    void initTestCase() { QVERIFY(settingsHome_.isValid()); }

    void findDialog()
    {
        ReportFindDialog dialog(FindChoice{});
        QCOMPARE(dialog.windowTitle(), QStringLiteral("查找文本"));
        QCOMPARE(groupTitles(dialog), (QStringList{QStringLiteral("起点"), QStringLiteral("选项")}));
        QCOMPARE(buttonTexts(dialog), (QStringList{QStringLiteral("取消"), QStringLiteral("确认")}));
        QVERIFY(dialog.findChild<QLabel*>()->text() == QStringLiteral("待查文本(&F)"));
        QCOMPARE(child<QCheckBox>(dialog, "chkCase")->text(), QStringLiteral("大小写敏感(&C)"));
        QCOMPARE(child<QRadioButton>(dialog, "rbFirstPage")->text(), QStringLiteral("首页(&1)"));
        QCOMPARE(child<QRadioButton>(dialog, "rbCurrentPage")->text(), QStringLiteral("当前页(&P)"));
        QCOMPARE(dialog.choice(), (FindChoice{QString(), false, true}));

        QSignalSpy accepted(&dialog, &QDialog::accepted);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClicks(child<QLineEdit>(dialog, "edtText"), QStringLiteral("Wang"));
        QTest::mouseClick(child<QCheckBox>(dialog, "chkCase"), Qt::LeftButton);
        QTest::mouseClick(child<QRadioButton>(dialog, "rbCurrentPage"), Qt::LeftButton);
        QTest::keyClick(child<QLineEdit>(dialog, "edtText"), Qt::Key_Return);
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(dialog.choice(), (FindChoice{QStringLiteral("Wang"), true, false}));

        // Opened again on the last search, its text selected to be typed over.
        ReportFindDialog again(dialog.choice());
        QCOMPARE(again.choice(), dialog.choice());
        QVERIFY(child<QLineEdit>(again, "edtText")->hasSelectedText());
    }

    void printDialogDefaultsAndControls()
    {
        skorvin::test::RecordingPrinters recording({QStringLiteral("Printer A"), QStringLiteral("Printer B")}, true, 1);
        const skorvin::ui::PrinterList installed =
            skorvin::ui::Replaceable<skorvin::ui::Printers>::inForce().installed();
        std::vector<skorvin::ui::Printer*> list;
        for (const auto& printer : installed.printers)
            list.push_back(printer.get());
        ReportPrintDialog dialog(list, installed.current);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("打印"));
        QCOMPARE(groupTitles(dialog), (QStringList{QStringLiteral("打印(&r)"), QStringLiteral("打印份数"),
                                                   QStringLiteral("打印机"), QStringLiteral("页范围")}));
        QCOMPARE(buttonTexts(dialog),
                 (QStringList{QStringLiteral("取消"), QStringLiteral("属性"), QStringLiteral("确认")}));
        QCOMPARE(child<QLineEdit>(dialog, "edtPages")->toolTip(),
                 QStringLiteral("输入页号或页范围,逗号分隔.例如: 1,3,5-12"));
        QCOMPARE(child<QCheckBox>(dialog, "chkCollate")->text(), QStringLiteral("对齐(&l)"));
        QStringList parities;
        for (int i = 0; i < child<QComboBox>(dialog, "cbParity")->count(); ++i)
            parities << child<QComboBox>(dialog, "cbParity")->itemText(i);
        QCOMPARE(parities, (QStringList{QStringLiteral("全部页"), QStringLiteral("奇数页"), QStringLiteral("偶数页")}));
        QCOMPARE(child<QComboBox>(dialog, "cbPrinter")->currentText(), QStringLiteral("Printer B"));
        PrintChoice defaults;
        defaults.printer = 1;
        QCOMPARE(dialog.choice(), defaults);

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // 属性: the printer's own settings; the PDF file entry has none.
        QPushButton* properties = child<QPushButton>(dialog, "btnProperties");
        QTest::mouseClick(properties, Qt::LeftButton);
        QCOMPARE(recording.propertiesShown(), 1);
        child<QComboBox>(dialog, "cbPrinter")->setCurrentIndex(2);
        QVERIFY(!properties->isEnabled());

        // The down button never goes below 1.
        auto* up = child<QToolButton>(dialog, "btnCopiesUp");
        auto* down = child<QToolButton>(dialog, "btnCopiesDown");
        for (QToolButton* arrow : {down, up, up, down})
            QTest::mouseClick(arrow, Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(dialog, "edtCopies")->text(), QStringLiteral("2"));
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(down, Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(dialog, "edtCopies")->text(), QStringLiteral("1"));

        // Typing page numbers chooses 页.
        QTest::keyClicks(child<QLineEdit>(dialog, "edtPages"), QStringLiteral("2-"));
        QVERIFY(child<QRadioButton>(dialog, "rbPages")->isChecked());
        QTest::mouseClick(child<QCheckBox>(dialog, "chkCollate"), Qt::LeftButton);
        child<QComboBox>(dialog, "cbParity")->setCurrentIndex(2);
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        QTest::mouseClick(child<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
        QCOMPARE(accepted.count(), 1);
        const PrintChoice chosen = dialog.choice();
        QCOMPARE(chosen.printer, 2);
        QCOMPARE(chosen.range, PrintChoice::Range::Pages);
        QCOMPARE(chosen.pages, QStringLiteral("2-"));
        QCOMPARE(chosen.collate, false);
        QCOMPARE(chosen.parity, PageParity::Even);
    }

    // What the dialog chose, printed to the PDF file entry: even pages from 2 on, of five.
    void theDialogsChoicePrintsToPdf()
    {
        skorvin::test::RecordingDialogs dialogs;
        skorvin::test::RecordingReportWindows windows;
        skorvin::test::RecordingPrinters recording(QStringList{}, true);
        const skorvin::ui::PrinterList installed =
            skorvin::ui::Replaceable<skorvin::ui::Printers>::inForce().installed();
        ReportPrintDialog dialog({installed.printers[0].get()}, 0);
        QCOMPARE(child<QComboBox>(dialog, "cbPrinter")->currentText(), QStringLiteral("打印到 PDF 文件"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClicks(child<QLineEdit>(dialog, "edtPages"), QStringLiteral("2-"));
        child<QComboBox>(dialog, "cbParity")->setCurrentIndex(2);
        QTest::mouseClick(child<QPushButton>(dialog, "btnOK"), Qt::LeftButton);

        skorvin::report::BuiltReport pages;
        pages.addStyle({{"", 160, true, false},
                        skorvin::report::HAlign::Center,
                        skorvin::report::VAlign::Middle,
                        skorvin::report::FrameAll,
                        30});
        for (int i = 1; i <= 5; ++i) {
            pages.beginPage(21000, 29700);
            pages.addPiece({2000, 2000, 17000, 2000},
                           skorvin::gbk::fromUtf8("四级主观题登分表 第" + std::to_string(i) + "页"), 0);
        }
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("登分表.pdf"));
        dialogs.queueSaveFileName(pdf);
        skorvin::ui::PrintPages(nullptr, pages, 1, QStringLiteral("Untitled"), *installed.printers[0], dialog.choice());
        const QStringList sheets = skorvin::test::pdfPages(pdf);
        QCOMPARE(sheets.size(), 2);
        QVERIFY(sheets[0].contains(QStringLiteral("四级主观题登分表 第2页")));
        QVERIFY(sheets[1].contains(QStringLiteral("四级主观题登分表 第4页")));
    }
};

QTEST_MAIN(ReportDialogsTest)
#include "ReportDialogs_test.moc"
