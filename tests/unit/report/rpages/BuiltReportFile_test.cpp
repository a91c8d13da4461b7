#include "plain/Files.hpp"
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "report/BuiltReportFile.hpp"
#include "report/ReportError.hpp"
#include "report/SealedReportFile.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <stdexcept>

using namespace skorvin::report;

namespace {

using skorvin::test::sealed;

// Two pages of different sizes, GBK text, an empty framed piece and two styles.
BuiltReport sample()
{
    BuiltReport report;
    PieceStyle plain;
    plain.font = {skorvin::gbk::fromUtf8("宋体"), 105, false, false};
    PieceStyle framed{{"Sans", 160, true, true}, HAlign::Center, VAlign::Bottom, FrameAll, 30};
    const auto p = report.addStyle(plain);
    const auto f = report.addStyle(framed);
    report.beginPage(21000, 29700);
    report.addPiece({2000, 1500, 17500, 900}, skorvin::gbk::fromUtf8("2024年9月全国计算机等级考试"), f);
    report.addPiece({2000, 3000, 6200, 750}, "410110100001", p);
    report.addPiece({8200, 3000, 5000, 750}, "", f);
    report.beginPage(29700, 21000);
    const std::size_t footer = report.addPiece({2000, 19000, 17500, 600}, "", p);
    report.setText(footer, "2/2");
    return report;
}

QByteArray withU32(QByteArray bytes, int at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

QString qtPath(const std::filesystem::path& path)
{
    return QString::fromStdU16String(path.u16string());
}

// A file of `count` pages of one size, without styles or pieces, written byte by byte so
// that it may hold what no build makes.
QByteArray pagesFile(std::uint32_t count, std::int32_t width, std::int32_t height)
{
    QByteArray page;
    for (const std::uint32_t value : {static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), 0u})
        page += withU32(QByteArray(4, '\0'), 0, value);
    QByteArray bytes = writeBuiltReport(BuiltReport());
    const int pageCountAt = 16;
    bytes = withU32(bytes, pageCountAt, count);
    bytes.insert(pageCountAt + 4, page.repeated(static_cast<int>(count)));
    return sealed(bytes);
}

} // namespace

TEST(BuiltReportFile, SaveAndLoadGiveTheSamePages)
{
    skorvin::test::TempDir dir;
    const QString path = qtPath(dir / "report.rpages");
    const BuiltReport original = sample();
    saveBuiltReport(original, path);
    const BuiltReport loaded = loadBuiltReport(path);
    EXPECT_EQ(loaded, original);
    ASSERT_EQ(loaded.pageCount(), 2);
    EXPECT_EQ(loaded.text(loaded.pieces(1)[0]), "2/2");
    EXPECT_EQ(loaded.style(1).frame, FrameAll);
    // Saving what was loaded writes the same bytes.
    EXPECT_EQ(writeBuiltReport(loaded), QByteArray::fromStdString(*skorvin::test::fileBytes(dir / "report.rpages")));
}

TEST(BuiltReportFile, AnEmptyReportRoundTrips)
{
    EXPECT_EQ(readBuiltReport(writeBuiltReport(BuiltReport())), BuiltReport());
}

TEST(BuiltReportFile, RefusesDamagedTruncatedAndNewerFiles)
{
    const QByteArray good = writeBuiltReport(sample());
    // Offsets in the sample's file: magic 8, version 4, style count 4, first style's family length 4.
    constexpr int kVersion = 8;
    constexpr int kStyleCount = 12;
    const int pageCountAt = [&good] {
        // After the two styles: family bytes + 17 fixed bytes each.
        const std::string family = skorvin::gbk::fromUtf8("宋体");
        return 16 + static_cast<int>(family.size()) + 17 + 4 + 4 + 17;
    }();
    QByteArray flipped = good;
    flipped[40] = static_cast<char>(flipped[40] ^ 0x10);
    QByteArray random(300, '\0');
    std::mt19937 generator(12);
    for (char& c : random)
        c = static_cast<char>(generator());

    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"empty", QByteArray()},
        {"random bytes", random},
        {"random bytes after the magic", QByteArray("SKRPAGES") + random},
        {"a flipped byte", flipped},
        {"newer version", sealed(withU32(good, kVersion, kBuiltReportVersion + 1))},
        {"version 0", sealed(withU32(good, kVersion, 0))},
        {"a style count beyond the file", sealed(withU32(good, kStyleCount, 0x7FFFFFFF))},
        {"a page count beyond the file", sealed(withU32(good, pageCountAt, 0x40000000))},
        {"a piece count beyond the file", sealed(withU32(good, pageCountAt + 12, 0xFFFFFFF0))},
        {"a byte too many", sealed(good + QByteArray(1, '\0'))},
    };
    for (const auto& [name, bytes] : cases) {
        EXPECT_THROW(readBuiltReport(bytes), BuiltReportFileError) << name;
    }
    // Cut anywhere, even with the checksum made right for what is left.
    for (int size = 0; size < good.size(); ++size) {
        EXPECT_THROW(readBuiltReport(good.left(size)), BuiltReportFileError) << size;
        if (size > 20) {
            EXPECT_THROW(readBuiltReport(sealed(good.left(size))), BuiltReportFileError) << size;
        }
    }
}

// Paper under 1 mm a side or over 10 m, or more pages than a report holds, is damage: a
// hostile file must not blow the preview's layout up past its coordinates.
TEST(BuiltReportFile, RefusesPaperAndPageCountsNoReportHas)
{
    const struct {
        const char* what;
        std::uint32_t count;
        std::int32_t width;
        std::int32_t height;
        bool read;
    } cases[] = {
        {"8 pages 0.01 mm wide and 10 m tall", 8, 1, 1000000, false},
        {"under 1 mm wide", 1, 99, 29700, false},
        {"under 1 mm tall", 1, 21000, 99, false},
        {"over 10 m", 1, 1000001, 29700, false},
        {"1 mm square", 8, 100, 100, true},
        {"1 mm wide and 10 m tall", 8, 100, 1000000, true},
        {"the most pages a report holds", static_cast<std::uint32_t>(kMaxBuiltPages), 21000, 29700, true},
        {"one page more", static_cast<std::uint32_t>(kMaxBuiltPages) + 1, 21000, 29700, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray bytes = pagesFile(c.count, c.width, c.height);
        if (c.read)
            EXPECT_EQ(readBuiltReport(bytes).pageCount(), static_cast<int>(c.count));
        else
            EXPECT_THROW(readBuiltReport(bytes), BuiltReportFileError);
    }
    // A build stops there too, so that every report it makes can be opened again.
    BuiltReport most;
    for (int i = 0; i < kMaxBuiltPages; ++i)
        most.beginPage(21000, 29700);
    EXPECT_THROW(most.beginPage(21000, 29700), std::length_error);
}

TEST(BuiltReportFile, ANewerFileSaysSo)
{
    const QByteArray newer = sealed(withU32(writeBuiltReport(sample()), 8, 7));
    try {
        readBuiltReport(newer);
        FAIL() << "read";
    } catch (const BuiltReportFileError& e) {
        EXPECT_NE(e.message().find(skorvin::gbk::fromUtf8("较新")), std::string::npos);
    }
}

TEST(BuiltReportFile, PiecesPointingOutsideTheirTextAreRefused)
{
    // One page, one piece: its text offset sits 8 + 4 + the piece's 16 bytes of rectangle before the
    // text block, which is the last 4 + length bytes before the checksum.
    BuiltReport one;
    one.addStyle(PieceStyle{});
    one.beginPage(1000, 1000);
    one.addPiece({0, 0, 10, 10}, "abc", 0);
    const QByteArray good = writeBuiltReport(one);
    const int textLengthAt = good.size() - 4 - 3 - 4 - 2 - 4;
    EXPECT_EQ(readBuiltReport(good), one);
    EXPECT_THROW(readBuiltReport(sealed(withU32(good, textLengthAt, 4))), BuiltReportFileError);
    EXPECT_THROW(readBuiltReport(sealed(withU32(good, textLengthAt - 4, 1))), BuiltReportFileError);
}

TEST(BuiltReportFile, FileErrors)
{
    skorvin::test::TempDir dir;
    EXPECT_THROW(loadBuiltReport(qtPath(dir / "missing.rpages")), BuiltReportFileError);
    EXPECT_THROW(saveBuiltReport(sample(), qtPath(dir / "no folder" / "x.rpages")), skorvin::Exception);
    // Saving over a file replaces it whole.
    const QString path = qtPath(dir / "kept.rpages");
    skorvin::test::putFile(dir / "kept.rpages", "old");
    saveBuiltReport(sample(), path);
    EXPECT_EQ(loadBuiltReport(path), sample());
}
