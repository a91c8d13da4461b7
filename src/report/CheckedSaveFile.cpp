#include "report/CheckedSaveFile.hpp"

#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "report/FileNames.hpp"

namespace skorvin::report {

namespace {

// Small writes (a PDF writer makes thousands) gather here before they reach the file.
constexpr qint64 kBufferBytes = 64 * 1024;

std::string cannotCreate(const QString& name, const QString& reason)
{
    return "Cannot create file \"" + gbk::fromUtf8(name.toStdString()) + "\". " + gbk::fromUtf8(reason.toStdString());
}

} // namespace

CheckedSaveFile::CheckedSaveFile(const QString& name) : QSaveFile(name) {}

void CheckedSaveFile::openForWriting()
{
    if (!representableFileName(fileName()))
        throw Exception("Cannot create file \"" + gbk::fromUtf8(fileName().toStdString()) + "\". " +
                        unrepresentableNameReason());
    // Qt's own buffer would report a short write without its reason; this class buffers instead.
    if (!open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Exception(cannotCreate(fileName(), errorString()));
}

qint64 CheckedSaveFile::writeData(const char* data, qint64 length)
{
    if (buffer_.size() + length > kBufferBytes) {
        writeOut(buffer_.constData(), buffer_.size());
        buffer_.clear();
    }
    if (length >= kBufferBytes)
        writeOut(data, length);
    else if (!failed_)
        buffer_.append(data, static_cast<int>(length));
    return failed_ ? -1 : length;
}

void CheckedSaveFile::writeOut(const char* data, qint64 length)
{
    // A short write is written on: the next write tells why the disk took no more.
    qint64 done = 0;
    while (done < length && !failed_) {
        const qint64 n = QSaveFile::writeData(data + done, length - done);
        if (n > 0) {
            done += n;
        } else {
            failed_ = true;
            failure_ = errorString();
        }
    }
}

void CheckedSaveFile::commitChecked()
{
    writeOut(buffer_.constData(), buffer_.size());
    buffer_.clear();
    if (failed_) {
        cancelWriting();
        // With the writing cancelled this only removes the temporary file.
        commit();
        throw Exception(cannotCreate(fileName(), failure_));
    }
    if (!commit())
        throw Exception(cannotCreate(fileName(), errorString()));
}

} // namespace skorvin::report
