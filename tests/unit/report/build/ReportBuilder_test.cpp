#include "platform/Gbk.hpp"
#include "report/ReportError.hpp"
#include "report/TReport.hpp"
#include "report/TUserDataset.hpp"
#include "report/TextExpression.hpp"

#include <gtest/gtest.h>

#include <map>

using namespace skorvin::report;
using skorvin::gbk::fromUtf8;

namespace {

constexpr Length kZkzhWidth = millimetres(30);
constexpr Length kNameWidth = millimetres(50);
constexpr Length kFullWidth = millimetres(80);

TextObject object(std::string name, Length x, Length width, Length height, std::string text)
{
    TextObject o;
    o.name = std::move(name);
    o.rect = {x, 0, width, height};
    o.setText(text);
    return o;
}

Band band(BandKind kind, Length height, std::vector<TextObject> objects, std::string dataSet = {})
{
    return Band{kind, height, std::move(dataSet), std::move(objects)};
}

// A 100 x 100 mm sheet with 10 mm margins: title and column header take 20 mm of the first
// sheet and the footer 10 mm, so 10 mm rows fit five on the first sheet and six on the others.
// The cells are told apart by their widths.
ReportTemplate listSheet(std::string zkzhCell = "[ZKZH]", std::string nameCell = "[XM]")
{
    TemplatePage page;
    page.paperWidth = page.paperHeight = millimetres(100);
    page.bands.push_back(
        band(BandKind::ReportTitle, millimetres(10), {object("memo1", 0, kFullWidth, millimetres(10), "title")}));
    page.bands.push_back(band(BandKind::ColumnHeader, millimetres(10),
                              {object("Columns", 0, kFullWidth, millimetres(10), "zkzh name")}));
    page.bands.push_back(band(BandKind::MasterData, millimetres(10),
                              {object("CellZKZH", 0, kZkzhWidth, millimetres(10), zkzhCell),
                               object("CellXM", kZkzhWidth, kNameWidth, millimetres(10), nameCell)},
                              "UserDataset1"));
    page.bands.push_back(band(BandKind::PageFooter, millimetres(10),
                              {object("Footer", 0, kFullWidth, millimetres(9), "[PAGE#]/[TOTALPAGES#]")}));
    return ReportTemplate{{page}};
}

// The list the report walks, with the number of first-row and next-row calls it received.
struct FakeList {
    explicit FakeList(std::vector<std::string> listed) : rows(std::move(listed)) {}

    std::vector<std::string> rows;
    std::size_t current = 0;
    int firstCalls = 0;
    int nextCalls = 0;
    std::vector<std::string> asked;

    void attach(TReport& report, TUserDataset& dataSet)
    {
        dataSet.OnFirst = [this] {
            ++firstCalls;
            current = 0;
        };
        dataSet.OnNext = [this] {
            ++nextCalls;
            ++current;
        };
        dataSet.setRecordCount(static_cast<int>(rows.size()));
        report.addDataSet(&dataSet);
        report.OnGetValue = [this](const std::string& name) -> std::optional<std::string> {
            asked.push_back(name);
            if (name == "ZKZH")
                return rows.at(current);
            if (name == "XM")
                return "name of " + rows.at(current);
            return std::nullopt;
        };
    }
};

std::vector<std::string> rowNumbers(int count)
{
    std::vector<std::string> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back("4" + std::to_string(1000 + i));
    return rows;
}

// The texts of the pieces of one width, in drawing order over all pages.
std::vector<std::string> column(const BuiltReport& built, Length width, int onlyPage = -1)
{
    std::vector<std::string> texts;
    for (int page = 0; page < built.pageCount(); ++page) {
        if (onlyPage >= 0 && page != onlyPage)
            continue;
        for (const Piece& piece : built.pieces(page)) {
            if (piece.rect.width == width)
                texts.emplace_back(built.text(piece));
        }
    }
    return texts;
}

} // namespace

TEST(ReportBuild, PrintsEveryRecordOnceInOrderWithPageNOfM)
{
    struct Case {
        int rows;
        int pages;
    };
    for (const Case c :
         {Case{0, 1}, Case{1, 1}, Case{5, 1}, Case{6, 2}, Case{11, 2}, Case{12, 3}, Case{29, 5}, Case{30, 6}}) {
        SCOPED_TRACE(c.rows);
        TReport report("Report1");
        report.setTemplate(listSheet());
        TUserDataset dataSet("UserDataset1");
        FakeList list(rowNumbers(c.rows));
        list.attach(report, dataSet);

        const BuildResult result = report.PrepareReport();
        EXPECT_FALSE(result.cancelled);
        EXPECT_EQ(list.firstCalls, 1);
        EXPECT_EQ(list.nextCalls, std::max(c.rows - 1, 0));
        EXPECT_EQ(column(result.pages, kZkzhWidth), list.rows);
        ASSERT_EQ(result.pages.pageCount(), c.pages);
        for (int page = 0; page < c.pages; ++page) {
            const std::vector<std::string> full = column(result.pages, kFullWidth, page);
            // Title only on the first sheet, the column header and the footer on every one.
            const std::vector<std::string> expected =
                page == 0
                    ? std::vector<std::string>{"title", "zkzh name", "1/" + std::to_string(c.pages)}
                    : std::vector<std::string>{"zkzh name", std::to_string(page + 1) + "/" + std::to_string(c.pages)};
            EXPECT_EQ(full, expected) << "page " << page + 1;
            EXPECT_EQ(result.pages.page(page).height, millimetres(100));
        }
    }
}

TEST(ReportBuild, RowsStackDownTheSheetAndNeverReachTheFooter)
{
    TReport report("Report1");
    report.setTemplate(listSheet());
    TUserDataset dataSet("UserDataset1");
    FakeList list(rowNumbers(12));
    list.attach(report, dataSet);
    const BuiltReport built = report.PrepareReport().pages;
    for (int page = 0; page < built.pageCount(); ++page) {
        Length expectedTop = page == 0 ? millimetres(30) : millimetres(20);
        for (const Piece& piece : built.pieces(page)) {
            if (piece.rect.width != kZkzhWidth)
                continue;
            EXPECT_EQ(piece.rect.y, expectedTop);
            EXPECT_EQ(piece.rect.x, millimetres(10));
            EXPECT_LE(piece.rect.y + piece.rect.height, millimetres(80));
            expectedTop += millimetres(10);
        }
    }
}

TEST(ReportBuild, AsksTheNameAsWrittenThenInUpperCase)
{
    struct Case {
        const char* cell;
        std::vector<std::string> asked; // for the first row's ZKZH cell
    };
    const std::vector<Case> cases = {
        {"[ZKZH]", {"ZKZH"}},
        {"[zkzh]", {"zkzh", "ZKZH"}},
        {"[ Zkzh ]", {"Zkzh", "ZKZH"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        TReport report("Report1");
        report.setTemplate(listSheet(c.cell, "-"));
        TUserDataset dataSet("userdataset1"); // found without regard to case
        FakeList list({"41001"});
        list.attach(report, dataSet);
        const BuiltReport built = report.PrepareReport().pages;
        EXPECT_EQ(column(built, kZkzhWidth), std::vector<std::string>{"41001"});
        EXPECT_EQ(std::vector<std::string>(list.asked.begin(), list.asked.begin() + c.asked.size()), c.asked);
    }
}

TEST(ReportBuild, BuiltInNamesInAnyCase)
{
    TReport report("Report1");
    report.setTemplate(listSheet("[line#]", "[Date] [page#] of [totalPages#]"));
    report.setDate("2024-09-21");
    TUserDataset dataSet("UserDataset1");
    FakeList list(rowNumbers(7));
    list.attach(report, dataSet);
    const BuiltReport built = report.PrepareReport().pages;
    EXPECT_EQ(column(built, kZkzhWidth), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
    const std::vector<std::string> names = column(built, kNameWidth);
    EXPECT_EQ(names.front(), "2024-09-21 1 of 2");
    EXPECT_EQ(names.back(), "2024-09-21 2 of 2");
}

TEST(ReportBuild, AnUnresolvedNameFailsNamingReportAndObject)
{
    TReport report("Report1");
    report.setTemplate(listSheet("[ZKZH]", "[XMM]"));
    TUserDataset dataSet("UserDataset1");
    FakeList list(rowNumbers(3));
    list.attach(report, dataSet);
    try {
        report.PrepareReport();
        FAIL() << "built";
    } catch (const BuildError& e) {
        EXPECT_EQ(e.message().rfind(fromUtf8("计算时发生错误"), 0), 0u);
        EXPECT_NE(e.message().find("Report1.CellXM"), std::string::npos) << e.message();
        EXPECT_NE(e.message().find("XMM"), std::string::npos);
    }
}

TEST(ReportBuild, ADataBandWithoutItsDatasetFails)
{
    TReport report("Report1");
    report.setTemplate(listSheet());
    EXPECT_THROW(report.PrepareReport(), BuildError);
}

TEST(ReportBuild, NoTemplateBuildsNothing)
{
    TReport report("Report1");
    EXPECT_EQ(report.PrepareReport().pages.pageCount(), 0);
}

TEST(ReportBuild, CancellingKeepsThePagesBuiltSoFar)
{
    TReport report("Report1");
    report.setTemplate(listSheet());
    TUserDataset dataSet("UserDataset1");
    FakeList list(rowNumbers(40));
    list.attach(report, dataSet);
    std::vector<int> told;
    const BuildResult result = report.PrepareReport([&told](int page) {
        told.push_back(page);
        return page < 3;
    });
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(told, (std::vector<int>{1, 2, 3}));
    ASSERT_EQ(result.pages.pageCount(), 2);
    EXPECT_EQ(column(result.pages, kZkzhWidth), std::vector<std::string>(list.rows.begin(), list.rows.begin() + 11));
    EXPECT_EQ(column(result.pages, kFullWidth, 1).back(), "2/2");
    // The walk stops where the pages stop.
    EXPECT_EQ(list.nextCalls, 11);
}

TEST(ReportBuild, ABandTallerThanTheSheetStillEnds)
{
    ReportTemplate sheet = listSheet();
    sheet.pages[0].bands[2].height = millimetres(500);
    TReport report("Report1");
    report.setTemplate(sheet);
    TUserDataset dataSet("UserDataset1");
    FakeList list(rowNumbers(3));
    list.attach(report, dataSet);
    EXPECT_EQ(report.PrepareReport().pages.pageCount(), 3);
}

TEST(ReportBuild, FilledObjectsPrintWithBracketExpansion)
{
    TReport report("Report1");
    report.setTemplate(listSheet());
    TUserDataset dataSet("UserDataset1");
    FakeList list(rowNumbers(1));
    list.attach(report, dataSet);
    report.FindObject("MEMO1")->setText(fromUtf8("省[XM]四级\n第二行"));
    const BuiltReport built = report.PrepareReport().pages;
    EXPECT_EQ(column(built, kFullWidth).front(), fromUtf8("省name of 41001四级\n第二行"));
}

TEST(TextExpressions, SplitsNamesFromLiteralGbkText)
{
    struct Case {
        std::string text;
        std::vector<TextSegment> segments;
    };
    // 乕 and 乚 are GBK pairs whose trail bytes are "[" and "]".
    const std::string open = fromUtf8("乕"), close = fromUtf8("乚");
    const std::vector<Case> cases = {
        {"", {}},
        {"plain", {{false, "plain"}}},
        {"[A][b]", {{true, "A"}, {true, "b"}}},
        {"x [ A ] y", {{false, "x "}, {true, "A"}, {false, " y"}}},
        {"[unclosed", {{false, "[unclosed"}}},
        {"a]b[c", {{false, "a]b[c"}}},
        {"[]", {{true, ""}}},
        {open + "[XM]" + close, {{false, open}, {true, "XM"}, {false, close}}},
        {"[" + close + "]", {{true, close}}},
        {open + "x" + close, {{false, open + "x" + close}}},
    };
    for (const Case& c : cases) {
        const std::vector<TextSegment> segments = splitExpressions(c.text);
        ASSERT_EQ(segments.size(), c.segments.size()) << c.text;
        for (std::size_t i = 0; i < segments.size(); ++i) {
            EXPECT_EQ(segments[i].isName, c.segments[i].isName) << c.text << " #" << i;
            EXPECT_EQ(segments[i].text, c.segments[i].text) << c.text << " #" << i;
        }
    }
}
