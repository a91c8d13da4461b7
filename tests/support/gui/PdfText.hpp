#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace skorvin::test {

// The text of a PDF file as pdftotext reads it, laid out as on the paper; each page ends
// with a form feed. Empty when the tool fails.
inline QString pdfText(const QString& pdf)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
        return QString();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// The PDF's title as its document information holds it, as pdfinfo reads it; empty when the
// tool fails or the file has none.
inline QString pdfTitle(const QString& pdf)
{
    QProcess tool;
    tool.start(QStringLiteral("pdfinfo"), {pdf});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
        return QString();
    for (const QString& line : QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("Title:")))
            return line.mid(6).trimmed();
    }
    return QString();
}

// The texts of the PDF's pages, in order.
inline QStringList pdfPages(const QString& pdf)
{
    return pdfText(pdf).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
}

} // namespace skorvin::test
