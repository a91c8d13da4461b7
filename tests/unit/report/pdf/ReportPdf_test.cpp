#include "gui/PdfText.hpp"
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "report/BuiltReportFile.hpp"
#include "report/ReportPainter.hpp"
#include "report/TReport.hpp"
#include "report/TUserDataset.hpp"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <filesystem>

using namespace skorvin::report;
using skorvin::gbk::fromUtf8;

namespace {

const std::filesystem::path kShipped =
    std::filesystem::path(__FILE__).parent_path() / "../../../../resources/四级考生主观题分数报表.rtpl";

// Fonts need a GUI application; the offscreen platform needs no display.
void ensureApplication()
{
    static int argc = 1;
    static char name[] = "unit_report_pdf";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static QGuiApplication application(argc, argv);
    }
}

struct Candidate {
    std::string zkzh, xm, fs;
};

// The shipped sheet built over these candidates as the score window fills it.
BuiltReport scoreSheet(const std::vector<Candidate>& candidates)
{
    TReport report("Report1");
    EXPECT_TRUE(report.LoadFromFile(fromUtf8(kShipped.string())));
    report.FindObject("memo1")->setText(fromUtf8("2024年9月全国计算机等级考试"));
    report.FindObject("memo2")->setText(fromUtf8("北京市四级主观题登分表"));
    report.setDate("2024-10-08");
    TUserDataset dataSet("UserDataset1");
    std::size_t row = 0;
    dataSet.OnFirst = [&row] { row = 0; };
    dataSet.OnNext = [&row] { ++row; };
    dataSet.setRecordCount(static_cast<int>(candidates.size()));
    report.addDataSet(&dataSet);
    report.OnGetValue = [&](const std::string& name) -> std::optional<std::string> {
        const Candidate& c = candidates.at(row);
        if (name == "ZKZH")
            return c.zkzh;
        if (name == "XM")
            return c.xm;
        if (name == "FS")
            return c.fs;
        return std::nullopt;
    };
    return report.PrepareReport().pages;
}

std::vector<Candidate> candidates(int count)
{
    const char* const names[] = {"王小明", "李华", "欧阳建国", "张伟", "陈静"};
    std::vector<Candidate> list;
    for (int i = 0; i < count; ++i)
        list.push_back({"4110101" + std::to_string(10001 + i), fromUtf8(names[i % 5]),
                        i % 3 == 0 ? std::string() : std::to_string(20 + i % 40)});
    return list;
}

} // namespace

TEST(ReportPdf, TheScoreSheetReadsBackFromThePdf)
{
    ensureApplication();
    const std::vector<Candidate> list = candidates(45);
    const BuiltReport built = scoreSheet(list);
    ASSERT_EQ(built.pageCount(), 2);
    skorvin::test::TempDir dir;
    const QString pdf = QString::fromStdString((dir / "sheet.pdf").string());
    exportPdf(built, pdf);

    const QString text = skorvin::test::pdfText(pdf);
    ASSERT_FALSE(text.isEmpty()) << "pdftotext gave nothing";
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("北京市四级主观题登分表")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("第 1 页，共 2 页")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("第 2 页，共 2 页")));
    for (const QString& page : pages) {
        EXPECT_TRUE(page.contains(QStringLiteral("准考证号")));
        EXPECT_TRUE(page.contains(QStringLiteral("登分人签字")));
    }
    // Every candidate once, in the list's order, each on one line with its name and score.
    qsizetype from = 0;
    for (const Candidate& c : list) {
        const QString zkzh = QString::fromStdString(c.zkzh);
        const qsizetype at = text.indexOf(zkzh, from);
        ASSERT_GE(at, 0) << c.zkzh;
        EXPECT_EQ(text.indexOf(zkzh, at + 1), -1) << c.zkzh;
        const QString line = text.mid(at, text.indexOf(QLatin1Char('\n'), at) - at);
        EXPECT_TRUE(line.contains(QString::fromStdString(skorvin::gbk::toUtf8(c.xm)))) << line.toStdString();
        EXPECT_EQ(line.split(QLatin1Char(' '), Qt::SkipEmptyParts).size(), c.fs.empty() ? 2 : 3) << line.toStdString();
        from = at;
    }
}

// Each sheet's foot totals the candidates printed on it, the last sheet adds the list's
// totals, and every sheet carries the examination's and the organisation's heading.
TEST(ReportPdf, EverySheetCarriesItsControlTotals)
{
    ensureApplication();
    const std::vector<Candidate> list = candidates(45);
    skorvin::test::TempDir dir;
    const QString pdf = QString::fromStdString((dir / "sheet.pdf").string());
    exportPdf(scoreSheet(list), pdf);
    const QStringList pages = skorvin::test::pdfPages(pdf);
    ASSERT_EQ(pages.size(), 2);

    int filled = 0, sum = 0;
    for (const Candidate& c : list) {
        filled += c.fs.empty() ? 0 : 1;
        sum += c.fs.empty() ? 0 : std::stoi(c.fs);
    }
    int listed = 0;
    for (const QString& page : pages) {
        EXPECT_TRUE(page.contains(QStringLiteral("2024年9月全国计算机等级考试")));
        EXPECT_TRUE(page.contains(QStringLiteral("北京市四级主观题登分表")));
        int pageCount = 0, pageFilled = 0, pageSum = 0;
        for (const Candidate& c : list) {
            if (!page.contains(QString::fromStdString(c.zkzh)))
                continue;
            ++pageCount;
            pageFilled += c.fs.empty() ? 0 : 1;
            pageSum += c.fs.empty() ? 0 : std::stoi(c.fs);
        }
        EXPECT_GT(pageCount, 0);
        listed += pageCount;
        EXPECT_TRUE(page.contains(
            QStringLiteral("本页：考生 %1 人，已登分 %2 人，分数合计 %3").arg(pageCount).arg(pageFilled).arg(pageSum)))
            << page.toStdString();
    }
    EXPECT_EQ(listed, 45);
    const QString listTotals = QStringLiteral("全部：考生 45 人，已登分 %1 人，分数合计 %2，平均分 %3")
                                   .arg(filled)
                                   .arg(sum)
                                   .arg(static_cast<double>(sum) / filled, 0, 'f', 2);
    EXPECT_FALSE(pages[0].contains(QStringLiteral("全部：")));
    EXPECT_TRUE(pages[1].contains(listTotals)) << pages[1].toStdString();
}

TEST(ReportPdf, APageScalesWithTheZoom)
{
    ensureApplication();
    const BuiltReport built = scoreSheet(candidates(3));
    // The ink of the page at two scales covers the same part of the paper.
    auto inkBox = [&built](double scale) {
        QImage image(qRound(210 * scale), qRound(297 * scale), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        paintPage(painter, built, 0, scale);
        painter.end();
        QRect box;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) < 128)
                    box |= QRect(x, y, 1, 1);
            }
        }
        return QRectF(box.x() / scale, box.y() / scale, box.width() / scale, box.height() / scale);
    };
    const QRectF small = inkBox(2.0);
    const QRectF large = inkBox(6.0);
    EXPECT_NEAR(small.left(), 20.0, 1.0); // the left margin
    EXPECT_NEAR(small.left(), large.left(), 1.0);
    EXPECT_NEAR(small.right(), large.right(), 1.0);
    EXPECT_NEAR(small.top(), large.top(), 1.5);
    EXPECT_NEAR(small.bottom(), large.bottom(), 1.5);
}
