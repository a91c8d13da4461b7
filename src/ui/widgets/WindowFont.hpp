#pragma once

#include <QFont>

namespace skorvin::ui {

// 宋体 at 12 pixels, the font of every window; the fallbacks carry the same
// characters on systems without it.
QFont windowFont();

} // namespace skorvin::ui
