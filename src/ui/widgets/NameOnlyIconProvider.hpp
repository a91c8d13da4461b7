#pragma once

#include <QFileIconProvider>
#include <QMimeDatabase>

namespace skorvin::ui {

// Icons and type texts for a file dialog, found from the file's name alone. Qt's own provider
// reads each file it lists to guess its type; on Linux closing that read drops every POSIX lock
// the program holds on the file, and an SQLite database beside it (the journal, the examination
// database) loses its WAL to the next connection that closes.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

private:
    QMimeType mimeType(const QFileInfo& info) const;

    QMimeDatabase mimeTypes_;
};

} // namespace skorvin::ui
