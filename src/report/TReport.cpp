// TReport: a report template loaded, filled with values, built into pages and previewed.
#include "report/TReport.hpp"

#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "platform/Text.hpp"
#include "report/TUserDataset.hpp"
#include "report/TemplateReader.hpp"

#include <QDate>
#include <QFile>
#include <QFileInfo>

namespace skorvin::report {

bool TReport::LoadFromFile(const std::string& path)
{
    template_.reset();
    const QString fileName = QString::fromStdString(gbk::toUtf8(path));
    if (!QFileInfo::exists(fileName))
        return false;
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
        throw Exception("Cannot open file \"" + path + "\". " + gbk::fromUtf8(file.errorString().toStdString()));
    template_ = readTemplate(file.readAll());
    return true;
}

TextObject* TReport::FindObject(std::string_view name)
{
    return template_ ? template_->findObject(name) : nullptr;
}

TUserDataset* TReport::findDataSet(std::string_view name) const
{
    for (TUserDataset* dataSet : dataSets_) {
        if (text::equalsNoCase(dataSet->name(), name))
            return dataSet;
    }
    return nullptr;
}

BuildResult TReport::PrepareReport(const std::function<bool(int page)>& progress)
{
    if (!template_)
        return {};
    BuildInput input;
    input.layout = &*template_;
    input.reportName = name_;
    input.date = date_ ? *date_ : QDate::currentDate().toString(Qt::ISODate).toStdString();
    input.findDataSet = [this](std::string_view name) { return findDataSet(name); };
    input.getValue = OnGetValue;
    input.progress = progress;
    return buildReport(input);
}

} // namespace skorvin::report
