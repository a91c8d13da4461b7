#include "report/TemplateReader.hpp"

#include "platform/Gbk.hpp"
#include "report/ReportError.hpp"

#include <QByteArray>
#include <QXmlStreamReader>

#include <array>
#include <string_view>

namespace skorvin::report {

namespace {

// Ten metres: larger lengths are damage, and they would overflow the page arithmetic.
constexpr double kMaxMillimetres = 10000.0;
constexpr double kMaxPoints = 1000.0;

std::string toGbk(QStringView text)
{
    return gbk::fromUtf8(text.toString().toStdString());
}

[[noreturn]] void refuse(const QXmlStreamReader& xml, const std::string& what)
{
    throw TemplateFormatError("line " + std::to_string(xml.lineNumber()) + ": " + what);
}

class Reader {
public:
    explicit Reader(const QByteArray& bytes) : xml_(bytes) {}

    ReportTemplate read()
    {
        if (!xml_.readNextStartElement() || xml_.name() != QLatin1String("report"))
            fail("no <report> element");
        const double version = number("version", 1, 1e9);
        if (version != static_cast<int>(version))
            fail("version is not a whole number");
        if (version > kTemplateVersion)
            fail("version " + std::to_string(static_cast<int>(version)) + " is newer than this program reads");
        ReportTemplate result;
        while (nextChild()) {
            expect("page");
            result.pages.push_back(readPage());
        }
        if (result.pages.empty())
            fail("no page");
        // Anything after the root, or a damaged tail, is as much damage as a damaged head.
        while (!xml_.atEnd())
            xml_.readNext();
        if (xml_.hasError())
            fail(xml_.errorString().toStdString());
        return result;
    }

private:
    [[noreturn]] void fail(const std::string& what) const
    {
        refuse(xml_, xml_.hasError() ? xml_.errorString().toStdString() : what);
    }

    // Advances to the next child element of the current one; false at its end.
    bool nextChild()
    {
        const bool found = xml_.readNextStartElement();
        if (xml_.hasError())
            fail(xml_.errorString().toStdString());
        return found;
    }

    void expect(const char* name) const
    {
        if (xml_.name() != QLatin1String(name))
            fail("unexpected <" + xml_.name().toString().toStdString() + ">, expected <" + name + ">");
    }

    bool has(const char* name) const { return xml_.attributes().hasAttribute(QLatin1String(name)); }

    QString attribute(const char* name) const { return xml_.attributes().value(QLatin1String(name)).toString(); }

    double number(const char* name, double low, double high) const
    {
        bool ok = false;
        const double value = attribute(name).toDouble(&ok);
        if (!ok || !(value >= low && value <= high))
            fail(std::string("attribute ") + name + " missing or out of range");
        return value;
    }

    Length length(const char* name, double low = 0.0) const { return millimetres(number(name, low, kMaxMillimetres)); }

    Length lengthOr(const char* name, Length fallback) const { return has(name) ? length(name) : fallback; }

    bool flag(const char* name) const
    {
        const QString value = attribute(name);
        if (value.isEmpty() || value == QLatin1String("false"))
            return false;
        if (value == QLatin1String("true"))
            return true;
        fail(std::string("attribute ") + name + " is neither true nor false");
    }

    template <typename Enum, std::size_t N>
    Enum choice(const char* name, const std::array<const char*, N>& words, Enum fallback) const
    {
        if (!has(name))
            return fallback;
        const QString value = attribute(name);
        for (std::size_t i = 0; i < N; ++i) {
            if (value == QLatin1String(words[i]))
                return static_cast<Enum>(i);
        }
        fail(std::string("attribute ") + name + " has an unknown value");
    }

    TemplatePage readPage()
    {
        TemplatePage page;
        const Length width = length("width", 1.0);
        const Length height = length("height", 1.0);
        page.orientation = choice("orientation", std::array{"portrait", "landscape"}, Orientation::Portrait);
        const bool landscape = page.orientation == Orientation::Landscape;
        page.paperWidth = landscape ? height : width;
        page.paperHeight = landscape ? width : height;
        page.marginLeft = lengthOr("margin-left", page.marginLeft);
        page.marginTop = lengthOr("margin-top", page.marginTop);
        page.marginRight = lengthOr("margin-right", page.marginRight);
        page.marginBottom = lengthOr("margin-bottom", page.marginBottom);
        if (page.marginLeft + page.marginRight >= page.paperWidth ||
            page.marginTop + page.marginBottom >= page.paperHeight)
            fail("the margins leave no room on the paper");
        while (nextChild()) {
            expect("band");
            Band band = readBand();
            if (page.band(band.kind))
                fail("a second band of the same kind on one page");
            page.bands.push_back(std::move(band));
        }
        return page;
    }

    Band readBand()
    {
        Band band;
        band.kind = choice(
            "kind",
            std::array{"page-header", "report-title", "column-header", "master-data", "page-footer", "report-summary"},
            BandKind::MasterData);
        if (!has("kind"))
            fail("a band without a kind");
        band.height = length("height");
        if (band.kind == BandKind::MasterData) {
            band.dataSet = toGbk(attribute("dataset"));
            if (band.dataSet.empty())
                fail("a master data band without a dataset");
            if (band.height <= 0)
                fail("a master data band without height");
        }
        while (nextChild()) {
            expect("text");
            band.objects.push_back(readText());
        }
        return band;
    }

    TextObject readText()
    {
        TextObject object;
        object.name = toGbk(attribute("name"));
        object.rect = {length("x"), length("y"), length("width"), length("height")};
        object.font.family = toGbk(attribute("font"));
        object.font.tenthsOfPoint = has("size") ? static_cast<std::int32_t>(number("size", 1.0, kMaxPoints) * 10 + 0.5)
                                                : object.font.tenthsOfPoint;
        object.font.bold = flag("bold");
        object.font.italic = flag("italic");
        object.hAlign = choice("align", std::array{"left", "center", "right"}, HAlign::Left);
        object.vAlign = choice("valign", std::array{"top", "middle", "bottom"}, VAlign::Top);
        object.frame = frameSides(attribute("frame"));
        object.frameWidth = lengthOr("frame-width", object.frameWidth);
        while (nextChild()) {
            expect("line");
            const QString line = xml_.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
            if (xml_.hasError())
                fail(xml_.errorString().toStdString());
            object.lines.push_back(toGbk(line));
        }
        return object;
    }

    std::uint8_t frameSides(const QString& text) const
    {
        std::uint8_t sides = 0;
        const QStringList words = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (const QString& word : words) {
            const QString side = word.trimmed();
            if (side == QLatin1String("all"))
                sides |= FrameAll;
            else if (side == QLatin1String("left"))
                sides |= FrameLeft;
            else if (side == QLatin1String("top"))
                sides |= FrameTop;
            else if (side == QLatin1String("right"))
                sides |= FrameRight;
            else if (side == QLatin1String("bottom"))
                sides |= FrameBottom;
            else
                fail("unknown frame side");
        }
        return sides;
    }

    QXmlStreamReader xml_;
};

} // namespace

ReportTemplate readTemplate(const QByteArray& xml)
{
    return Reader(xml).read();
}

} // namespace skorvin::report
