#include "report/BuiltReportFile.hpp"

#include "platform/Gbk.hpp"
#include "report/CheckedSaveFile.hpp"
#include "report/FileNames.hpp"
#include "report/ReportError.hpp"

#include <QFile>

#include <array>
#include <cstring>

namespace skorvin::report {

namespace {

constexpr char kMagic[8] = {'S', 'K', 'R', 'P', 'A', 'G', 'E', 'S'};
constexpr std::size_t kStyleBytes = 4 + 4 + 1 + 1 + 1 + 1 + 1 + 4; // without the family's bytes
constexpr std::size_t kPageBytes = 4 + 4 + 4;
constexpr std::size_t kPieceBytes = 4 * 4 + 4 + 4 + 2;
// Lengths beyond ten metres are damage, as in templates, and so is paper under 1 mm a side:
// no template makes it, and the preview's fitting zooms would blow it up past any screen.
constexpr Length kMaxLength = 1000000;
constexpr Length kMinPaperSide = 100;

} // namespace

std::uint32_t builtReportChecksum(const char* data, std::size_t size)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ static_cast<unsigned char>(data[i])) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

namespace {

class Writer {
public:
    void u8(std::uint8_t v) { bytes_.append(static_cast<char>(v)); }
    void u16(std::uint16_t v)
    {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v)
    {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void bytes(std::string_view b)
    {
        u32(static_cast<std::uint32_t>(b.size()));
        bytes_.append(b.data(), static_cast<qsizetype>(b.size()));
    }
    void raw(const char* data, std::size_t size) { bytes_.append(data, static_cast<qsizetype>(size)); }
    QByteArray& result() { return bytes_; }

private:
    QByteArray bytes_;
};

std::string damaged()
{
    return gbk::fromUtf8("报表文件已损坏");
}

// Reads with every count and offset checked against the bytes that are really there.
class Reader {
public:
    Reader(const char* data, std::size_t size) : data_(data), size_(size) {}

    void need(std::size_t n) const
    {
        if (size_ - at_ < n)
            throw BuiltReportFileError(damaged());
    }
    std::uint8_t u8()
    {
        need(1);
        return static_cast<std::uint8_t>(data_[at_++]);
    }
    std::uint16_t u16()
    {
        const std::uint16_t low = u8();
        return static_cast<std::uint16_t>(low | (u8() << 8));
    }
    std::uint32_t u32()
    {
        const std::uint32_t low = u16();
        return low | (static_cast<std::uint32_t>(u16()) << 16);
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::string bytes()
    {
        const std::uint32_t n = u32();
        need(n);
        std::string b(data_ + at_, n);
        at_ += n;
        return b;
    }
    // A count of records of at least recordBytes each, refused before anything is reserved for it.
    std::uint32_t count(std::size_t recordBytes)
    {
        const std::uint32_t n = u32();
        need(static_cast<std::size_t>(n) * recordBytes);
        return n;
    }
    bool atEnd() const { return at_ == size_; }

private:
    const char* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

Length length(Reader& in, Length low)
{
    const Length value = in.i32();
    if (value < low || value > kMaxLength)
        throw BuiltReportFileError(damaged());
    return value;
}

template <typename Enum> Enum enumValue(Reader& in, Enum last)
{
    const std::uint8_t value = in.u8();
    if (value > static_cast<std::uint8_t>(last))
        throw BuiltReportFileError(damaged());
    return static_cast<Enum>(value);
}

} // namespace

// A friend of BuiltReport, so that loading fills its storage in one go.
class BuiltReportReader {
public:
    static BuiltReport read(Reader& in)
    {
        BuiltReport report;
        const std::uint32_t styles = in.count(kStyleBytes);
        if (styles > 0x10000)
            throw BuiltReportFileError(damaged());
        for (std::uint32_t i = 0; i < styles; ++i) {
            PieceStyle style;
            style.font.family = in.bytes();
            style.font.tenthsOfPoint = in.i32();
            if (style.font.tenthsOfPoint < 1 || style.font.tenthsOfPoint > 10000)
                throw BuiltReportFileError(damaged());
            style.font.bold = enumValue(in, std::uint8_t{1}) != 0;
            style.font.italic = enumValue(in, std::uint8_t{1}) != 0;
            style.hAlign = enumValue(in, HAlign::Right);
            style.vAlign = enumValue(in, VAlign::Bottom);
            style.frame = enumValue(in, std::uint8_t{FrameAll});
            style.frameWidth = length(in, 0);
            report.styles_.push_back(std::move(style));
        }
        const std::uint32_t pages = in.count(kPageBytes);
        if (pages > static_cast<std::uint32_t>(kMaxBuiltPages))
            throw BuiltReportFileError(damaged());
        report.pages_.reserve(pages);
        std::uint64_t pieces = 0;
        for (std::uint32_t i = 0; i < pages; ++i) {
            BuiltPage page;
            page.width = length(in, kMinPaperSide);
            page.height = length(in, kMinPaperSide);
            page.firstPiece = static_cast<std::uint32_t>(pieces);
            page.pieceCount = in.u32();
            pieces += page.pieceCount;
            if (pieces > 0xFFFFFFFFu)
                throw BuiltReportFileError(damaged());
            report.pages_.push_back(page);
        }
        in.need(static_cast<std::size_t>(pieces) * kPieceBytes);
        for (std::uint64_t i = 0; i < pieces; ++i) {
            const Rect rect{in.i32(), in.i32(), in.i32(), in.i32()};
            const std::uint32_t textOffset = in.u32();
            const std::uint32_t textLength = in.u32();
            const std::uint16_t style = in.u16();
            if (style >= report.styles_.size())
                throw BuiltReportFileError(damaged());
            report.pieces_.push_back(
                {rect.y, textOffset, textLength, report.shapeIndex({rect.x, rect.width, rect.height, style})});
        }
        report.text_ = ByteArena(in.bytes());
        for (std::size_t i = 0; i < report.pieceCount(); ++i) {
            const Piece piece = report.piece(i);
            if (std::uint64_t{piece.textOffset} + piece.textLength > report.text_.size())
                throw BuiltReportFileError(damaged());
        }
        return report;
    }
};

QByteArray writeBuiltReport(const BuiltReport& report)
{
    Writer out;
    out.raw(kMagic, sizeof kMagic);
    out.u32(kBuiltReportVersion);
    out.u32(static_cast<std::uint32_t>(report.styleCount()));
    for (std::size_t i = 0; i < report.styleCount(); ++i) {
        const PieceStyle& style = report.style(static_cast<std::uint16_t>(i));
        out.bytes(style.font.family);
        out.i32(style.font.tenthsOfPoint);
        out.u8(style.font.bold ? 1 : 0);
        out.u8(style.font.italic ? 1 : 0);
        out.u8(static_cast<std::uint8_t>(style.hAlign));
        out.u8(static_cast<std::uint8_t>(style.vAlign));
        out.u8(style.frame);
        out.i32(style.frameWidth);
    }
    out.u32(static_cast<std::uint32_t>(report.pageCount()));
    for (int i = 0; i < report.pageCount(); ++i) {
        const BuiltPage& page = report.page(i);
        out.i32(page.width);
        out.i32(page.height);
        out.u32(page.pieceCount);
    }
    for (int i = 0; i < report.pageCount(); ++i) {
        for (const Piece& piece : report.pieces(i)) {
            out.i32(piece.rect.x);
            out.i32(piece.rect.y);
            out.i32(piece.rect.width);
            out.i32(piece.rect.height);
            out.u32(piece.textOffset);
            out.u32(piece.textLength);
            out.u16(piece.style);
        }
    }
    out.u32(static_cast<std::uint32_t>(report.textArena().size()));
    for (const std::string& block : report.textArena().blocks())
        out.raw(block.data(), block.size());
    QByteArray& bytes = out.result();
    const std::uint32_t sum = builtReportChecksum(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    out.u32(sum);
    return bytes;
}

BuiltReport readBuiltReport(const QByteArray& bytes)
{
    const auto size = static_cast<std::size_t>(bytes.size());
    if (size < sizeof kMagic + 8 || std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0)
        throw BuiltReportFileError(gbk::fromUtf8("不是报表文件"));
    Reader head(bytes.constData() + sizeof kMagic, 4);
    const std::uint32_t version = head.u32();
    if (version > kBuiltReportVersion)
        throw BuiltReportFileError(gbk::fromUtf8("报表文件的格式较新（版本 ") + std::to_string(version) +
                                   gbk::fromUtf8("），本程序不能打开"));
    Reader tail(bytes.constData() + size - 4, 4);
    if (version == 0 || tail.u32() != builtReportChecksum(bytes.constData(), size - 4))
        throw BuiltReportFileError(damaged());
    Reader body(bytes.constData() + sizeof kMagic + 4, size - sizeof kMagic - 8);
    BuiltReport report = BuiltReportReader::read(body);
    if (!body.atEnd())
        throw BuiltReportFileError(damaged());
    return report;
}

void saveBuiltReport(const BuiltReport& report, const QString& path)
{
    CheckedSaveFile file(path);
    file.openForWriting();
    file.write(writeBuiltReport(report));
    file.commitChecked();
}

BuiltReport loadBuiltReport(const QString& path)
{
    const auto refused = [&path](const std::string& reason) {
        return BuiltReportFileError("Cannot open file \"" + gbk::fromUtf8(path.toStdString()) + "\". " + reason);
    };
    if (!representableFileName(path))
        throw refused(unrepresentableNameReason());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw refused(gbk::fromUtf8(file.errorString().toStdString()));
    return readBuiltReport(file.readAll());
}

} // namespace skorvin::report
