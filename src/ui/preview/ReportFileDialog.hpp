#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace skorvin::ui {

// The save dialog for a file a report is written to (a PDF, a .rpages file). It proposes the
// report's title, made a name a file can have, in the folder a report file was last saved in
// (kept for the user between runs); withExtension gives a name its file type. A file of the
// final name that exists already is replaced only after the operator's Yes (确认, default No);
// No opens the dialog again on that name. Returns the final name, empty when the operator
// cancels.
QString chooseReportFile(QWidget* owner, const QString& title, const QString& filter,
                         const std::function<QString(const QString&)>& withExtension);

} // namespace skorvin::ui
