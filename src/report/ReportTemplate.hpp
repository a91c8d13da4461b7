#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The report template: pages of bands of text objects. Every length is in hundredths
// of a millimetre; every text is GBK.
namespace skorvin::report {

using Length = std::int32_t;

constexpr Length millimetres(double mm)
{
    return static_cast<Length>(mm * 100.0 + (mm < 0 ? -0.5 : 0.5));
}

struct FontStyle {
    std::string family; // GBK; the painter falls back to an installed CJK font
    std::int32_t tenthsOfPoint = 100;
    bool bold = false;
    bool italic = false;

    bool operator==(const FontStyle&) const = default;
};

enum class HAlign : std::uint8_t { Left, Center, Right };
enum class VAlign : std::uint8_t { Top, Middle, Bottom };

// Sides of a text object's frame, as bits.
enum FrameSide : std::uint8_t { FrameLeft = 1, FrameTop = 2, FrameRight = 4, FrameBottom = 8, FrameAll = 15 };

struct Rect {
    Length x = 0;
    Length y = 0;
    Length width = 0;
    Length height = 0;

    bool operator==(const Rect&) const = default;
};

struct TextObject {
    std::string name;
    Rect rect; // relative to its band's top-left corner
    std::vector<std::string> lines;
    FontStyle font;
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    std::uint8_t frame = 0; // FrameSide bits
    Length frameWidth = 20;

    // Replaces the lines by the lines of text (split at CR, LF or CR LF).
    void setText(std::string_view text);
};

enum class BandKind : std::uint8_t { PageHeader, ReportTitle, ColumnHeader, MasterData, PageFooter, ReportSummary };

struct Band {
    BandKind kind = BandKind::MasterData;
    Length height = 0;
    std::string dataSet; // master data only: the dataset's name
    std::vector<TextObject> objects;
};

enum class Orientation : std::uint8_t { Portrait, Landscape };

struct TemplatePage {
    // The paper as it lies for printing: width and height already follow the orientation.
    Length paperWidth = millimetres(210);
    Length paperHeight = millimetres(297);
    Orientation orientation = Orientation::Portrait;
    Length marginLeft = millimetres(10);
    Length marginTop = millimetres(10);
    Length marginRight = millimetres(10);
    Length marginBottom = millimetres(10);
    std::vector<Band> bands; // at most one band of each kind

    const Band* band(BandKind kind) const;
};

struct ReportTemplate {
    std::vector<TemplatePage> pages;

    // The first object with this name, page by page, without regard to letter case; nullptr when none.
    TextObject* findObject(std::string_view name);
};

} // namespace skorvin::report
