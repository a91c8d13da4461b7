#include "report/FileNames.hpp"

#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"

#include <QFile>

#include <cerrno>
#include <cstring>

namespace skorvin::report {

bool representableFileName(const QString& name)
{
#ifdef _WIN32
    (void)name;
    return true;
#else
    return QFile::decodeName(QFile::encodeName(name)) == name;
#endif
}

std::string unrepresentableNameReason()
{
    return gbk::fromUtf8(std::strerror(EILSEQ));
}

std::filesystem::path fileSystemName(const QString& name)
{
    if (!representableFileName(name))
        throw EFCreateError("Cannot create file \"" + gbk::fromUtf8(name.toStdString()) + "\". " +
                            unrepresentableNameReason());
#ifdef _WIN32
    return std::filesystem::path(name.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(name).toStdString());
#endif
}

} // namespace skorvin::report
