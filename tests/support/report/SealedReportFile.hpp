#pragma once

#include <QByteArray>

namespace skorvin::test {

// A built-report file's bytes with its last four, the checksum, made right again for the
// bytes before them, so that a changed body reaches the checks behind the checksum. Fewer
// than four bytes are given back as they are.
QByteArray sealed(QByteArray bytes);

} // namespace skorvin::test
