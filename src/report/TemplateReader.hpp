#pragma once

#include "report/ReportTemplate.hpp"

class QByteArray;

namespace skorvin::report {

// The newest template format this engine reads.
constexpr int kTemplateVersion = 1;

// Reads a template from its XML bytes. A newer version, a file that is not a well-formed
// template, or a value out of range throws TemplateFormatError.
ReportTemplate readTemplate(const QByteArray& xml);

} // namespace skorvin::report
