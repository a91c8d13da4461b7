#include "report/ReportPainter.hpp"

#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "report/BuiltReport.hpp"
#include "report/CheckedSaveFile.hpp"
#include "report/PagePrinter.hpp"

#include <QFile>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <vector>

namespace skorvin::report {

namespace {

// Hundredths of a millimetre per point.
constexpr double kUnitsPerPoint = 2540.0 / 72.0;
// Text keeps this distance from a left or right edge, so it never touches a frame line.
constexpr double kTextInsetMm = 0.8;

QString toQString(std::string_view gbkText)
{
    if (gbk::isAscii(gbkText))
        return QString::fromLatin1(gbkText.data(), static_cast<qsizetype>(gbkText.size()));
    return QString::fromStdString(gbk::toUtf8(gbkText));
}

QFont makeFont(const FontStyle& style, double scale, int deviceDpi)
{
    QFont font;
    // The template's family first, then fonts that hold the Chinese characters.
    QStringList families;
    if (!style.family.empty())
        families << toQString(style.family);
    families << QStringLiteral("WenQuanYi Zen Hei") << QStringLiteral("Noto Sans CJK SC") << QStringLiteral("SimSun");
    font.setFamilies(families);
    // The point size the device needs for the scaled height, so that text scales with the page.
    const double devicePixels = style.tenthsOfPoint / 10.0 * kUnitsPerPoint / 100.0 * scale;
    font.setPointSizeF(std::max(0.1, devicePixels * 72.0 / deviceDpi));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    // Outlines scale exactly; hinting would move glyphs differently at each zoom.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

int alignmentFlags(const PieceStyle& style)
{
    const int horizontal = style.hAlign == HAlign::Center  ? Qt::AlignHCenter
                           : style.hAlign == HAlign::Right ? Qt::AlignRight
                                                           : Qt::AlignLeft;
    const int vertical = style.vAlign == VAlign::Middle   ? Qt::AlignVCenter
                         : style.vAlign == VAlign::Bottom ? Qt::AlignBottom
                                                          : Qt::AlignTop;
    return horizontal | vertical;
}

void drawFrame(QPainter& painter, const QRectF& r, const PieceStyle& style, double scale)
{
    painter.setPen(QPen(Qt::black, std::max(1.0, style.frameWidth / 100.0 * scale), Qt::SolidLine, Qt::SquareCap));
    if (style.frame & FrameLeft)
        painter.drawLine(r.topLeft(), r.bottomLeft());
    if (style.frame & FrameTop)
        painter.drawLine(r.topLeft(), r.topRight());
    if (style.frame & FrameRight)
        painter.drawLine(r.topRight(), r.bottomRight());
    if (style.frame & FrameBottom)
        painter.drawLine(r.bottomLeft(), r.bottomRight());
}

} // namespace

void paintPage(QPainter& painter, const BuiltReport& report, int pageIndex, double scale, QPointF origin)
{
    const double perUnit = scale / 100.0;
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    std::vector<QFont> fonts(report.styleCount());
    std::vector<bool> made(report.styleCount(), false);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const Piece& piece : report.pieces(pageIndex)) {
        const PieceStyle& style = report.style(piece.style);
        const QRectF r(origin.x() + piece.rect.x * perUnit, origin.y() + piece.rect.y * perUnit,
                       piece.rect.width * perUnit, piece.rect.height * perUnit);
        if (style.frame)
            drawFrame(painter, r, style, scale);
        const std::string_view text = report.text(piece);
        if (text.empty())
            continue;
        if (!made[piece.style]) {
            fonts[piece.style] = makeFont(style.font, scale, dpi);
            made[piece.style] = true;
        }
        painter.setFont(fonts[piece.style]);
        painter.setPen(Qt::black);
        const double inset = kTextInsetMm * scale;
        painter.drawText(r.adjusted(inset, 0, -inset, 0), alignmentFlags(style), toQString(text));
    }
    painter.restore();
}

void exportPdf(const BuiltReport& report, const QString& fileName)
{
    // Written beside its name and put in place only when every byte reached the disk: the PDF
    // writer alone takes a failed write for a whole file.
    CheckedSaveFile file(fileName);
    file.openForWriting();
    {
        QPdfWriter writer(&file);
        writer.setResolution(600);
        PagePrinter printer(writer, "Cannot create file \"" + gbk::fromUtf8(fileName.toStdString()) + "\".");
        for (int i = 0; i < report.pageCount(); ++i)
            printer.print(report, i);
        printer.finish();
    }
    file.commitChecked();
}

} // namespace skorvin::report
