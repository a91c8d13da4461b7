#pragma once

#include <QPointF>
#include <QString>

class QPainter;

namespace skorvin::report {

class BuiltReport;

// Paints one built page (0-based) with its paper's top-left corner at origin, scale being
// device pixels per millimetre. Works on any paint device: a widget, a printer, a PDF file.
// The paper's background is left to the caller.
void paintPage(QPainter& painter, const BuiltReport& report, int pageIndex, double scale, QPointF origin = QPointF());

// Writes every page to a PDF file, each on paper of its own size. Throws Exception when the
// file cannot be written, a full disk included; an older file of that name then stays whole.
// Needs a QGuiApplication (fonts).
void exportPdf(const BuiltReport& report, const QString& fileName);

} // namespace skorvin::report
