#include "platform/Gbk.hpp"
#include "report/ReportError.hpp"
#include "report/TReport.hpp"
#include "report/TUserDataset.hpp"
#include "report/TextExpression.hpp"
#include "report/Totals.hpp"

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
    std::vector<std::string> scores; // FS of each row, when the case totals it
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
            if (name == "FS" && !scores.empty())
                return scores.at(current);
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

namespace {

// The list sheet with the page's totals and the report's in its footer, and the report's
// totals again in a summary band after the last row.
ReportTemplate totalsSheet(std::string footer = "[COUNT(FS, PAGE)] [FILLED(FS, PAGE)] [SUM(FS, PAGE)] | "
                                                "[COUNT(FS, REPORT)] [SUM(FS, REPORT)] [AVG(FS, REPORT)]")
{
    ReportTemplate sheet = listSheet();
    sheet.pages[0].bands[3].objects[0].setText(footer);
    sheet.pages[0].bands.push_back(
        band(BandKind::ReportSummary, millimetres(10),
             {object("Summary", 0, kFullWidth, millimetres(10), "[filled( fs ,report)] of [Count(FS, Report)]")}));
    return sheet;
}

BuildResult buildTotals(FakeList& list, ReportTemplate sheet = totalsSheet())
{
    TReport report("Report1");
    report.setTemplate(std::move(sheet));
    TUserDataset dataSet("UserDataset1");
    list.attach(report, dataSet);
    return report.PrepareReport();
}

} // namespace

TEST(ReportTotals, EachFooterTotalsItsSheetAndTheSummaryFollowsTheLastRow)
{
    struct Case {
        std::vector<std::string> scores;
        std::vector<std::string> footers;      // per sheet
        std::vector<std::string> summaryPages; // the summary's text on each sheet, "" where none
    };
    const std::vector<Case> cases = {
        // Five rows on the first sheet, two on the second, the summary below them.
        {{"10", "", "20.5", " 30 ", "", "5", "7"},
         {"5 3 60.5 | 7 72.5 14.50", "2 2 12 | 7 72.5 14.50"},
         {"", "5 of 7"}},
        // The second sheet is full: the summary starts a third sheet with no rows of its own.
        {{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"},
         {"5 5 15 | 11 66 6.00", "6 6 51 | 11 66 6.00", "0 0 0 | 11 66 6.00"},
         {"", "", "11 of 11"}},
        // No scores at all: sums of nothing are 0, the average of nothing is empty.
        {{"", ""}, {"2 0 0 | 2 0 "}, {"0 of 2"}},
        // No rows: the summary stands under the column header.
        {{}, {"0 0 0 | 0 0 "}, {"0 of 0"}},
        // Sums keep the decimals of the most precise score, without the error of doubles.
        {{"0.1", "0.2", "-0.3", "1.25"}, {"4 4 1.25 | 4 1.25 0.31"}, {"4 of 4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.scores));
        FakeList list(rowNumbers(static_cast<int>(c.scores.size())));
        list.scores = c.scores;
        const BuildResult result = buildTotals(list);
        ASSERT_EQ(result.pages.pageCount(), static_cast<int>(c.footers.size()));
        for (int page = 0; page < result.pages.pageCount(); ++page) {
            const std::vector<std::string> full = column(result.pages, kFullWidth, page);
            EXPECT_EQ(full.back(), c.footers[page]) << "page " << page + 1;
            const std::string summary = full.size() >= 2 && full[full.size() - 2].find(" of ") != std::string::npos
                                            ? full[full.size() - 2]
                                            : std::string();
            EXPECT_EQ(summary, c.summaryPages[page]) << "page " << page + 1;
        }
    }
}

TEST(ReportTotals, TheSummaryStandsBelowTheLastRow)
{
    FakeList list(rowNumbers(7));
    list.scores.assign(7, "1");
    const BuiltReport built = buildTotals(list).pages;
    for (const Piece& piece : built.pieces(1)) {
        if (built.text(piece) == "7 of 7") {
            EXPECT_EQ(piece.rect.y, millimetres(20 + 2 * 10)); // column header, two rows
        }
    }
    EXPECT_EQ(column(built, kFullWidth, 1).size(), 3u); // column header, summary, footer
}

TEST(ReportTotals, ATotalOfAnyNameTheRowsAnswer)
{
    // Totals need no cell of their own: LINE# is the engine's, XM the program's.
    FakeList list(rowNumbers(3));
    list.scores.assign(3, "1"); // the summary's
    const BuiltReport built =
        buildTotals(list, totalsSheet("[SUM(LINE#, PAGE)] [FILLED(XM, REPORT)] [COUNT(ZKZH, PAGE)]")).pages;
    EXPECT_EQ(column(built, kFullWidth).back(), "6 3 3");
}

TEST(ReportTotals, WrongTotalsAndValuesThatAreNoNumbersStopTheBuild)
{
    struct Case {
        std::string footer;
        std::vector<std::string> scores;
        std::string named; // in the message
    };
    const std::vector<Case> cases = {
        {"[SUM(FS)]", {"1"}, "SUM(FS)"},
        {"[SUM(FS, WEEK)]", {"1"}, "WEEK"},
        {"[AVG(, PAGE)]", {"1"}, "AVG(, PAGE)"},
        {"[SUM(FS, PAGE)]", {"12", fromUtf8("缺考")}, fromUtf8("缺考")},
        {"[SUM(TOTALPAGES#, PAGE)]", {"1"}, "TOTALPAGES#"},
        {"[SUM(NOSUCH, PAGE)]", {"1"}, "NOSUCH"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.footer);
        FakeList list(rowNumbers(static_cast<int>(c.scores.size())));
        list.scores = c.scores;
        try {
            buildTotals(list, totalsSheet(c.footer));
            FAIL() << "built";
        } catch (const BuildError& e) {
            EXPECT_EQ(e.message().rfind(fromUtf8("计算时发生错误：Report1.Footer: "), 0), 0u) << e.message();
            EXPECT_NE(e.message().find(c.named), std::string::npos) << e.message();
        }
    }
}

TEST(ReportTotals, ParsesTheFourFunctionsAndLeavesOtherNamesAlone)
{
    using Call = TotalCall;
    struct Case {
        const char* expression;
        std::optional<TotalCall> call;
    };
    const std::vector<Case> cases = {
        {"COUNT(FS, PAGE)", Call{TotalKind::Count, TotalScope::Page, "FS"}},
        {"filled ( xm,report )", Call{TotalKind::Filled, TotalScope::Report, "xm"}},
        {"Sum(FS,Page)", Call{TotalKind::Sum, TotalScope::Page, "FS"}},
        {"AVG( LINE# , REPORT)", Call{TotalKind::Average, TotalScope::Report, "LINE#"}},
        {"SUM", std::nullopt},
        {"SUMMARY(FS, PAGE)", std::nullopt},
        {"TOTALPAGES#", std::nullopt},
        {"FS", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseTotal(c.expression), c.call) << c.expression;
    for (const char* wrong : {"SUM(FS)", "SUM(FS, PAGE", "SUM(FS, PAGE) x", "SUM(A, B, PAGE)", "COUNT(FS, )",
                              "COUNT((FS), PAGE)", "AVG(FS, PAGES)"})
        EXPECT_THROW(parseTotal(wrong), TotalError) << wrong;
}
