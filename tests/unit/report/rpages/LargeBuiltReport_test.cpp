// A built report large enough that its pieces fill several chunks and its text several
// blocks, with texts that meet a block's end and one longer than a block: every piece
// reads back as added, through a save and a load, and the file writes back byte for byte.
#include "report/BuiltReportFile.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace skorvin::report;

namespace {

struct Expected {
    Rect rect;
    std::string text;
    std::uint16_t style = 0;
};

// Pieces of five shapes on pages of 200, their texts of varied lengths (some empty); one text
// of 1.5 MiB; the page numbers given at the end, longer or shorter than the placeholder.
struct LargeReport {
    BuiltReport report;
    std::vector<std::vector<Expected>> pages;

    LargeReport()
    {
        report.addStyle(PieceStyle{});
        report.addStyle(PieceStyle{{"Sans", 120, true, false}, HAlign::Center, VAlign::Middle, FrameAll, 20});
        constexpr int kPieces = 150000;
        std::vector<std::size_t> footers;
        for (int i = 0; i < kPieces; ++i) {
            if (i % 200 == 0) {
                report.beginPage(21000, 29700);
                pages.emplace_back();
                footers.push_back(report.addPiece({0, 28000, 21000, 500}, "??", 1));
                pages.back().push_back({{0, 28000, 21000, 500}, "??", 1});
            }
            Expected piece{{1000 * (i % 5), 100 * (i % 200), 900 + i % 5, 500},
                           std::string(i % 23, 'a' + i % 26),
                           static_cast<std::uint16_t>(i % 2)};
            if (i == 70000)
                piece.text = std::string(1536 * 1024, 'L');
            report.addPiece(piece.rect, piece.text, piece.style);
            pages.back().push_back(piece);
        }
        for (std::size_t page = 0; page < footers.size(); ++page) {
            const std::string text =
                page % 2 == 0 ? std::to_string(page + 1) + "/" + std::to_string(footers.size()) : std::string("x");
            report.setText(footers[page], text);
            pages[page].front().text = text;
        }
    }
};

void expectPieces(const BuiltReport& report, const std::vector<std::vector<Expected>>& pages)
{
    ASSERT_EQ(report.pageCount(), static_cast<int>(pages.size()));
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const PieceRange pieces = report.pieces(static_cast<int>(page));
        ASSERT_EQ(pieces.size(), pages[page].size()) << page;
        std::size_t i = 0;
        for (const Piece& piece : pieces) {
            const Expected& want = pages[page][i];
            ASSERT_EQ(piece.rect, want.rect) << page << " " << i;
            ASSERT_EQ(piece.style, want.style) << page << " " << i;
            ASSERT_EQ(report.text(piece), want.text) << page << " " << i;
            ASSERT_EQ(report.text(pieces[i]), want.text) << page << " " << i;
            ++i;
        }
    }
}

} // namespace

TEST(LargeBuiltReport, EveryPieceReadsBackAsAddedThroughTheFile)
{
    LargeReport large;
    expectPieces(large.report, large.pages);
    large.report.shrink();
    expectPieces(large.report, large.pages);

    const QByteArray bytes = writeBuiltReport(large.report);
    const BuiltReport read = readBuiltReport(bytes);
    expectPieces(read, large.pages);
    EXPECT_EQ(read, large.report);
    EXPECT_EQ(writeBuiltReport(read), bytes);
}

TEST(LargeBuiltReport, HoldsLittleMoreThanItsPiecesAndText)
{
    LargeReport large;
    large.report.shrink();
    std::size_t textBytes = 0;
    for (const auto& page : large.pages)
        for (const Expected& piece : page)
            textBytes += piece.text.size();
    // Sixteen bytes a piece and the text, with room for the blocks' unused ends and one spare chunk.
    const std::size_t pieceBytes = 16 * large.report.pieceCount();
    EXPECT_LT(large.report.memoryBytes(), pieceBytes + textBytes + 3 * 1024 * 1024);
}
