// CheckedSaveFile: a file written beside its name and put in its place only when every byte reached it.
#pragma once

#include <QByteArray>
#include <QSaveFile>

#include <string>

namespace skorvin::report {

// A file written under a temporary name beside its own and put in place at the end, so
// that a failed save leaves an older file of that name whole and no new file. QSaveFile
// alone takes a short write (a disk that fills midway) for a whole one and puts the file
// in place after its last buffer failed to reach the disk; this one refuses both.
class CheckedSaveFile final : public QSaveFile {
public:
    explicit CheckedSaveFile(const QString& name);

    // Opens it for writing. Throws Exception "Cannot create file "<name>". <reason>" (GBK),
    // also for a name the file system cannot spell (FileNames.hpp).
    void openForWriting();
    // Writes what is buffered and puts the file in place. Throws Exception as openForWriting
    // does when any write, the last one or the sync failed; the older file is then whole
    // and the new one gone.
    void commitChecked();

protected:
    // Takes all of data or fails (-1 from the first failed write on).
    qint64 writeData(const char* data, qint64 length) override;

private:
    // Writes all of data to the file or fails: a short write is tried on, and one that takes
    // nothing fails with the system's reason.
    void writeOut(const char* data, qint64 length);

    QByteArray buffer_;
    bool failed_ = false;
    QString failure_; // the reason the first failed write gave
};

} // namespace skorvin::report
