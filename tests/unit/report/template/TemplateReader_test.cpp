#include "plain/Files.hpp"
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "report/ReportError.hpp"
#include "report/TReport.hpp"
#include "report/TemplateReader.hpp"

#include <QByteArray>

#include <gtest/gtest.h>

#include <filesystem>

using namespace skorvin::report;
using skorvin::gbk::fromUtf8;

namespace {

const std::filesystem::path kShipped =
    std::filesystem::path(__FILE__).parent_path() / "../../../../resources/四级考生主观题分数报表.rtpl";

QByteArray shippedBytes()
{
    return QByteArray::fromStdString(skorvin::test::fileBytes(kShipped).value_or(""));
}

// Two pages, so that look-ups by name show their page order.
const char* const kTwoPages = R"(<report version="1">
  <page width="100" height="80" orientation="landscape" margin-left="5">
    <band kind="report-title" height="10"><text name="Title" x="0" y="0" width="50" height="10"><line>a</line></text></band>
  </page>
  <page width="100" height="80">
    <band kind="page-footer" height="10">
      <text name="memo1" x="1" y="2" width="3" height="4"><line>first</line></text>
      <text name="MEMO1" x="0" y="0" width="5" height="5"><line>second</line></text>
    </band>
  </page>
</report>)";

std::vector<std::string> texts(const Band& band)
{
    std::vector<std::string> result;
    for (const TextObject& object : band.objects)
        result.push_back(object.lines.empty() ? std::string() : object.lines.front());
    return result;
}

} // namespace

TEST(ShippedTemplate, HoldsWhatThePrintActionFills)
{
    ReportTemplate sheet = readTemplate(shippedBytes());
    ASSERT_EQ(sheet.pages.size(), 1u);
    const TemplatePage& page = sheet.pages.front();
    EXPECT_EQ(page.paperWidth, millimetres(210));
    EXPECT_EQ(page.paperHeight, millimetres(297));
    EXPECT_EQ(page.orientation, Orientation::Portrait);
    EXPECT_NE(sheet.findObject("MEMO1"), nullptr);
    EXPECT_NE(sheet.findObject("Memo2"), nullptr);

    const Band* columns = page.band(BandKind::ColumnHeader);
    const Band* data = page.band(BandKind::MasterData);
    ASSERT_TRUE(columns && data && page.band(BandKind::PageFooter));
    EXPECT_EQ(data->dataSet, "UserDataset1");
    const std::vector<std::string> titles = texts(*columns);
    const std::vector<std::string> cells = texts(*data);
    ASSERT_EQ(titles.size(), cells.size());
    EXPECT_EQ(titles[1], fromUtf8("准考证号"));
    EXPECT_EQ(titles[2], fromUtf8("姓名"));
    EXPECT_EQ(titles[3], fromUtf8("主观题分数"));
    EXPECT_EQ(cells[1], "[ZKZH]");
    EXPECT_EQ(cells[2], "[XM]");
    EXPECT_EQ(cells[3], "[FS]");
    // Each title sits over its column, so the sheet's columns line up.
    for (std::size_t i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(columns->objects[i].rect.x, data->objects[i].rect.x) << i;
        EXPECT_EQ(columns->objects[i].rect.width, data->objects[i].rect.width) << i;
    }
}

TEST(TemplateReader, ReadsPagesBandsAndObjects)
{
    ReportTemplate layout = readTemplate(QByteArray(kTwoPages));
    ASSERT_EQ(layout.pages.size(), 2u);
    // Landscape lays the paper on its side.
    EXPECT_EQ(layout.pages[0].paperWidth, millimetres(80));
    EXPECT_EQ(layout.pages[0].paperHeight, millimetres(100));
    EXPECT_EQ(layout.pages[0].marginLeft, millimetres(5));
    EXPECT_EQ(layout.pages[1].paperWidth, millimetres(100));

    // The first with the name, page by page, whatever the letter case.
    TextObject* memo = layout.findObject("Memo1");
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->lines, std::vector<std::string>{"first"});
    EXPECT_EQ(memo->rect, (Rect{100, 200, 300, 400}));
    EXPECT_EQ(layout.findObject("title"), &layout.pages[0].bands[0].objects[0]);
    EXPECT_EQ(layout.findObject("memo3"), nullptr);
}

TEST(TemplateReader, SetTextSplitsLines)
{
    TextObject object;
    object.setText("one\r\ntwo\nthree\r");
    EXPECT_EQ(object.lines, (std::vector<std::string>{"one", "two", "three", ""}));
    object.setText("");
    EXPECT_EQ(object.lines, std::vector<std::string>{""});
}

TEST(TemplateReader, RefusesNewerAndDamagedTemplates)
{
    const QByteArray shipped = shippedBytes();
    auto sample = [](const char* pageAttributes, const char* bandXml) {
        return QByteArray("<report version=\"1\"><page ") + pageAttributes + ">" + bandXml + "</page></report>";
    };
    const char* const okBand = "<band kind=\"page-footer\" height=\"5\"/>";
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"empty", QByteArray()},
        {"random bytes", QByteArray::fromHex("8f13a7002e41ff10c3d2b5e6")},
        {"truncated", shipped.left(shipped.size() / 2)},
        {"cut before the last byte", shipped.left(shipped.size() - 2)},
        {"newer version", QByteArray(shipped).replace("version=\"1\"", "version=\"2\"")},
        {"version not a number", QByteArray(shipped).replace("version=\"1\"", "version=\"x\"")},
        {"no version", QByteArray(shipped).replace("version=\"1\"", "")},
        {"other root", "<html><page width=\"10\" height=\"10\"/></html>"},
        {"no page", "<report version=\"1\"></report>"},
        {"trailing element", QByteArray(shipped).append("<report version=\"1\"/>")},
        {"negative width", sample("width=\"-1\" height=\"10\"", okBand)},
        {"no height", sample("width=\"10\"", okBand)},
        {"margins fill the paper", sample("width=\"20\" height=\"20\" margin-left=\"10\" margin-right=\"10\"", okBand)},
        {"unknown band", sample("width=\"20\" height=\"20\"", "<band kind=\"summary\" height=\"5\"/>")},
        {"two footers", sample("width=\"20\" height=\"20\"", "<band kind=\"page-footer\" height=\"5\"/>"
                                                             "<band kind=\"page-footer\" height=\"5\"/>")},
        {"data without dataset", sample("width=\"20\" height=\"20\"", "<band kind=\"master-data\" height=\"5\"/>")},
        {"data without height",
         sample("width=\"20\" height=\"20\"", "<band kind=\"master-data\" height=\"0\" dataset=\"d\"/>")},
        {"bad frame", sample("width=\"20\" height=\"20\"", "<band kind=\"page-footer\" height=\"5\"><text "
                                                           "x=\"0\" y=\"0\" width=\"1\" height=\"1\" "
                                                           "frame=\"round\"/></band>")},
        {"huge size", sample("width=\"1e300\" height=\"20\"", okBand)},
        {"element in a line", sample("width=\"20\" height=\"20\"", "<band kind=\"page-footer\" height=\"5\"><text "
                                                                   "x=\"0\" y=\"0\" width=\"1\" height=\"1\">"
                                                                   "<line>a<b/></line></text></band>")},
    };
    for (const auto& [name, bytes] : cases) {
        try {
            readTemplate(bytes);
            ADD_FAILURE() << name << ": accepted";
        } catch (const TemplateFormatError& e) {
            EXPECT_EQ(e.message(), fromUtf8("不支持的报表模板格式")) << name;
            EXPECT_FALSE(e.detail().empty()) << name;
        }
    }
}

TEST(TReportLoad, TellsWhetherTheFileExistedAndKeepsNothingElse)
{
    skorvin::test::TempDir dir;
    const std::string good = (dir / "good.rtpl").string();
    const std::string damaged = (dir / "damaged.rtpl").string();
    skorvin::test::putFile(good, kTwoPages);
    skorvin::test::putFile(damaged, std::string(kTwoPages).substr(0, 100));

    TReport report("Report1");
    EXPECT_TRUE(report.LoadFromFile(good));
    EXPECT_NE(report.FindObject("MEMO1"), nullptr);

    EXPECT_FALSE(report.LoadFromFile((dir / "missing.rtpl").string()));
    EXPECT_FALSE(report.hasTemplate());
    EXPECT_EQ(report.FindObject("memo1"), nullptr);

    ASSERT_TRUE(report.LoadFromFile(good));
    EXPECT_THROW(report.LoadFromFile(damaged), TemplateFormatError);
    EXPECT_FALSE(report.hasTemplate());

    // A folder of that name exists but cannot be read as a file.
    try {
        report.LoadFromFile(dir.path().string());
        ADD_FAILURE() << "a folder was read";
    } catch (const TemplateFormatError&) {
        ADD_FAILURE() << "a folder is not a damaged template";
    } catch (const skorvin::Exception& e) {
        EXPECT_EQ(e.message().rfind("Cannot open file \"" + dir.path().string() + "\".", 0), 0u) << e.message();
    }
}

TEST(TReportLoad, ReadsAPathWithChineseCharacters)
{
    skorvin::test::TempDir dir;
    std::filesystem::create_directory(dir / "报表");
    skorvin::test::putFile(dir / "报表" / "模板.rtpl", kTwoPages);
    TReport report("Report1");
    EXPECT_TRUE(report.LoadFromFile(fromUtf8((dir / "报表" / "模板.rtpl").string())));
    EXPECT_TRUE(report.hasTemplate());
}
