#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace skorvin::bench {

// No display is needed to measure; an offscreen window paints all the same. A platform
// the caller chose is kept.
inline void paintOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace skorvin::bench
