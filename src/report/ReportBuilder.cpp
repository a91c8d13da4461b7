#include "report/ReportBuilder.hpp"

#include "platform/Gbk.hpp"
#include "platform/Text.hpp"
#include "report/ReportError.hpp"
#include "report/TUserDataset.hpp"
#include "report/TextExpression.hpp"
#include "report/Totals.hpp"

#include <vector>

namespace skorvin::report {

namespace {

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += '\n';
        joined += lines[i];
    }
    return joined;
}

struct CompiledObject {
    const TextObject* object = nullptr;
    std::vector<TextSegment> segments;
    std::uint16_t style = 0;
};

struct CompiledBand {
    Length height = 0;
    std::vector<CompiledObject> objects;
};

class Builder {
public:
    explicit Builder(const BuildInput& input) : in_(input) {}

    BuildResult run()
    {
        trackTotals();
        for (const TemplatePage& page : in_.layout->pages) {
            if (!buildTemplatePage(page)) {
                result_.cancelled = true;
                break;
            }
        }
        for (const Deferred& piece : deferred_)
            result_.pages.setText(piece.piece, finalText(piece.segments, piece.objectName));
        result_.pages.shrink();
        return std::move(result_);
    }

private:
    struct Deferred {
        std::size_t piece = 0;
        std::vector<TextSegment> segments; // names left are the total page count and report totals
        std::string objectName;
    };

    // A value that totals are kept of, over the sheet and over the whole report.
    struct TrackedValue {
        std::string name;
        std::string objectName; // the first object that totals it, named when the value is missing
        Totals page;
        Totals report;
    };

    [[noreturn]] void fail(const std::string& objectName, const std::string& what) const
    {
        throw BuildError(gbk::fromUtf8("计算时发生错误：") + in_.reportName + "." + objectName + ": " + what);
    }

    CompiledBand compile(const Band* band)
    {
        CompiledBand compiled;
        if (!band)
            return compiled;
        compiled.height = band->height;
        for (const TextObject& object : band->objects) {
            if (object.lines.empty() && object.frame == 0)
                continue;
            PieceStyle style{object.font, object.hAlign, object.vAlign, object.frame, object.frameWidth};
            compiled.objects.push_back({&object, splitExpressions(joinLines(object.lines)), styleIndex(style)});
        }
        return compiled;
    }

    std::uint16_t styleIndex(const PieceStyle& style)
    {
        for (std::size_t i = 0; i < result_.pages.styleCount(); ++i) {
            if (result_.pages.style(static_cast<std::uint16_t>(i)) == style)
                return static_cast<std::uint16_t>(i);
        }
        return result_.pages.addStyle(style);
    }

    // Every value some text of the template totals, so that each printed row can be added up.
    void trackTotals()
    {
        for (const TemplatePage& page : in_.layout->pages) {
            for (const Band& band : page.bands) {
                for (const TextObject& object : band.objects) {
                    for (const TextSegment& segment : splitExpressions(joinLines(object.lines))) {
                        if (!segment.isName)
                            continue;
                        if (std::optional<TotalCall> call = totalCall(segment.text, object.name);
                            call && !tracked(call->valueName))
                            tracked_.push_back({call->valueName, object.name, {}, {}});
                    }
                }
            }
        }
    }

    std::optional<TotalCall> totalCall(const std::string& name, const std::string& objectName) const
    {
        try {
            return parseTotal(name);
        } catch (const TotalError& e) {
            fail(objectName, e.message());
        }
    }

    const TrackedValue* tracked(const std::string& valueName) const
    {
        for (const TrackedValue& value : tracked_) {
            if (text::equalsNoCase(value.name, valueName))
                return &value;
        }
        return nullptr;
    }

    std::string totalText(const Totals& totals, const TotalCall& call, const std::string& objectName) const
    {
        try {
            return totals.text(call.kind);
        } catch (const TotalError& e) {
            fail(objectName, "[" + call.valueName + "] " + e.message());
        }
    }

    // Adds the row just printed to every total, asking for its values as its cells do.
    void addRowToTotals()
    {
        for (TrackedValue& value : tracked_) {
            const std::optional<std::string> text = resolve(value.name, value.objectName);
            if (!text)
                fail(value.objectName, "[" + value.name + gbk::fromUtf8("] 不能合计"));
            value.page.add(*text);
            value.report.add(*text);
        }
    }

    // The value of a name; nothing for the total page count and the report's totals, which
    // are known only at the end.
    std::optional<std::string> resolve(const std::string& name, const std::string& objectName) const
    {
        if (in_.getValue) {
            if (std::optional<std::string> value = in_.getValue(name))
                return value;
            const std::string upper = text::upperAscii(name);
            if (upper != name) {
                if (std::optional<std::string> value = in_.getValue(upper))
                    return value;
            }
        }
        if (text::equalsNoCase(name, kPageNumberName))
            return std::to_string(pageNumber_);
        if (text::equalsNoCase(name, kLineNumberName))
            return std::to_string(line_);
        if (text::equalsNoCase(name, kDateName))
            return in_.date;
        if (text::equalsNoCase(name, kTotalPagesName))
            return std::nullopt;
        if (std::optional<TotalCall> call = totalCall(name, objectName)) {
            if (call->scope == TotalScope::Report)
                return std::nullopt;
            return totalText(tracked(call->valueName)->page, *call, objectName);
        }
        fail(objectName, gbk::fromUtf8("未知的名称 [") + name + "]");
    }

    void print(const CompiledBand& band, Length top)
    {
        for (const CompiledObject& compiled : band.objects) {
            const TextObject& object = *compiled.object;
            const Rect rect{left_ + object.rect.x, top + object.rect.y, object.rect.width, object.rect.height};
            buffer_.clear();
            std::vector<TextSegment> pending;
            for (const TextSegment& segment : compiled.segments) {
                if (!segment.isName) {
                    buffer_ += segment.text;
                } else if (std::optional<std::string> value = resolve(segment.text, object.name)) {
                    buffer_ += *value;
                } else {
                    pending.push_back({false, buffer_});
                    pending.push_back({true, segment.text});
                    buffer_.clear();
                }
            }
            if (pending.empty()) {
                result_.pages.addPiece(rect, buffer_, compiled.style);
            } else {
                pending.push_back({false, buffer_});
                deferred_.push_back(
                    {result_.pages.addPiece(rect, {}, compiled.style), std::move(pending), object.name});
            }
        }
    }

    std::string finalText(const std::vector<TextSegment>& segments, const std::string& objectName) const
    {
        std::string text;
        for (const TextSegment& segment : segments) {
            if (!segment.isName)
                text += segment.text;
            else if (std::optional<TotalCall> call = totalCall(segment.text, objectName))
                text += totalText(tracked(call->valueName)->report, *call, objectName);
            else
                text += std::to_string(pageNumber_);
        }
        return text;
    }

    // Begins a sheet; false when the operator cancelled before it (the first sheet always begins).
    bool beginSheet(const TemplatePage& page, bool firstOfTemplatePage)
    {
        if (in_.progress && !in_.progress(pageNumber_ + 1) && pageNumber_ > 0)
            return false;
        result_.pages.beginPage(page.paperWidth, page.paperHeight);
        ++pageNumber_;
        y_ = page.marginTop;
        rowsOnSheet_ = 0;
        for (TrackedValue& value : tracked_)
            value.page.clear();
        for (const CompiledBand* band : {&header_, firstOfTemplatePage ? &title_ : nullptr, &columns_}) {
            if (band) {
                print(*band, y_);
                y_ += band->height;
            }
        }
        return true;
    }

    void endSheet() { print(footer_, footerTop_); }

    bool buildTemplatePage(const TemplatePage& page)
    {
        header_ = compile(page.band(BandKind::PageHeader));
        title_ = compile(page.band(BandKind::ReportTitle));
        columns_ = compile(page.band(BandKind::ColumnHeader));
        footer_ = compile(page.band(BandKind::PageFooter));
        const CompiledBand summary = compile(page.band(BandKind::ReportSummary));
        const Band* dataBand = page.band(BandKind::MasterData);
        const CompiledBand data = compile(dataBand);
        left_ = page.marginLeft;
        footerTop_ = page.paperHeight - page.marginBottom - footer_.height;
        line_ = 0;

        TUserDataset* dataSet = nullptr;
        if (dataBand) {
            dataSet = in_.findDataSet ? in_.findDataSet(dataBand->dataSet) : nullptr;
            if (!dataSet)
                fail(dataBand->dataSet, gbk::fromUtf8("找不到数据集"));
        }
        if (!beginSheet(page, true))
            return false;
        if (dataSet) {
            if (dataSet->OnFirst)
                dataSet->OnFirst();
            const int count = dataSet->recordCount();
            for (int record = 0; record < count; ++record) {
                if (!makeRoom(page, data.height))
                    return false;
                ++line_;
                print(data, y_);
                addRowToTotals();
                y_ += data.height;
                ++rowsOnSheet_;
                if (record + 1 < count && dataSet->OnNext)
                    dataSet->OnNext();
            }
        }
        if (page.band(BandKind::ReportSummary)) {
            if (!makeRoom(page, summary.height))
                return false;
            print(summary, y_);
            y_ += summary.height;
        }
        endSheet();
        return true;
    }

    // Starts a new sheet when a band of this height would reach the page footer; false when
    // the operator cancelled. A band taller than the free space of an empty sheet is printed
    // anyway, so that no record can make the builder break pages for ever.
    bool makeRoom(const TemplatePage& page, Length height)
    {
        if (y_ + height <= footerTop_ || rowsOnSheet_ == 0)
            return true;
        endSheet();
        return beginSheet(page, false);
    }

    const BuildInput& in_;
    BuildResult result_;
    std::vector<Deferred> deferred_;
    std::vector<TrackedValue> tracked_;
    std::string buffer_;
    CompiledBand header_, title_, columns_, footer_;
    Length left_ = 0;
    Length y_ = 0;
    Length footerTop_ = 0;
    int pageNumber_ = 0;
    int line_ = 0;
    int rowsOnSheet_ = 0;
};

} // namespace

BuildResult buildReport(const BuildInput& input)
{
    return Builder(input).run();
}

} // namespace skorvin::report
