#include "exam/JournalTable.hpp"

#include "platform/Gbk.hpp"
#include "platform/TFileStream.hpp"

#include <map>

namespace skorvin::exam {

namespace {

std::string actionText(const std::string& action)
{
    static const std::map<std::string, std::string> texts = {{"save", gbk::fromUtf8("保存")},
                                                             {"undo", gbk::fromUtf8("撤销")},
                                                             {"verify", gbk::fromUtf8("复核")},
                                                             {"adopt", gbk::fromUtf8("采用本次")},
                                                             {"keep", gbk::fromUtf8("保留原分")}};
    const auto found = texts.find(action);
    return found == texts.end() ? action : found->second;
}

// Entries written before there were other kinds are saves and undos: their kind follows from
// their action as any other entry's does.
std::string kindText(const std::string& action)
{
    for (const JournalKind& kind : journalKinds())
        for (const std::string& covered : kind.actions)
            if (covered == action)
                return kind.text;
    return {};
}

std::string outcomeText(const std::string& outcome)
{
    if (outcome == "saved")
        return gbk::fromUtf8("成功");
    return gbk::fromUtf8(outcome == "refused" ? "未执行" : "失败");
}

std::string csvField(const std::string& utf8)
{
    if (utf8.find_first_of(",\"\r\n") == std::string::npos)
        return utf8;
    std::string quoted = "\"";
    for (char c : utf8) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

void writeLine(TFileStream& out, const std::vector<std::string>& gbkFields)
{
    for (std::size_t i = 0; i < gbkFields.size(); ++i) {
        if (i)
            out.write(",");
        out.write(csvField(gbk::toUtf8(gbkFields[i])));
    }
    out.write("\r\n");
}

} // namespace

const std::vector<JournalKind>& journalKinds()
{
    static const std::vector<JournalKind> kinds = {{gbk::fromUtf8("登分"), {"save"}},
                                                   {gbk::fromUtf8("撤销"), {"undo"}},
                                                   {gbk::fromUtf8("复核"), {"verify"}},
                                                   {gbk::fromUtf8("裁定"), {"adopt", "keep"}}};
    return kinds;
}

const std::vector<std::string>& journalHeadings()
{
    static const std::vector<std::string> headings = [] {
        std::vector<std::string> result;
        for (const char* heading :
             {"时间", "计算机", "用户", "单位", "准考证号", "原分数", "新分数", "类别", "操作", "结果", "说明"})
            result.push_back(gbk::fromUtf8(heading));
        return result;
    }();
    return headings;
}

std::vector<std::string> journalRowTexts(const journal::JournalRecord& record)
{
    if (record.damaged) {
        std::vector<std::string> texts(journalHeadings().size());
        texts.front() = gbk::fromUtf8("（已损坏）");
        texts.back() =
            gbk::fromUtf8("无法读取第 ") + std::to_string(record.id) + gbk::fromUtf8(" 条：") + record.detail;
        return texts;
    }
    return {record.time,
            record.host,
            record.user,
            record.organisation,
            record.number,
            record.before.value_or(""),
            record.after.value_or(""),
            kindText(record.action),
            actionText(record.action),
            outcomeText(record.outcome),
            record.detail};
}

void writeJournalCsv(const std::filesystem::path& fileName, const std::vector<journal::JournalRecord>& records)
{
    TFileStream out(fileName);
    // The byte-order mark tells a spreadsheet that the Chinese text is UTF-8.
    out.write("\xEF\xBB\xBF");
    writeLine(out, journalHeadings());
    for (const auto& record : records)
        writeLine(out, journalRowTexts(record));
    out.close();
}

} // namespace skorvin::exam
