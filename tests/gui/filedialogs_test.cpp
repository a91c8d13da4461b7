// Every file dialog of the library (export, PDF, .rpages open and save, journal CSV) looks into a
// folder where an SQLite database in WAL mode is in use, here the journal, without costing it
// its locks: a program holding the journal shows each dialog there, another program then opens
// and closes the file (which, had the locks gone, folds the WAL away under the holder's feet),
// and the entries the holder writes afterwards are seen from outside and outlive the holder
// killed. The holder is this program started again with --hold-journal <folder>.
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "platform/journal/JournalFile.hpp"
#include "ui/seams/Dialogs.hpp"

#include <QtTest>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QProcess>

#include <sqlite3.h>

#include <filesystem>
#include <iostream>
#include <string>

namespace journal = skorvin::journal;

namespace {

const char* const kJournalName = "登分日志.sqlite";

journal::JournalRecord entry(const std::string& number)
{
    return {
        0, "2026-12-10 14:03:05 +0800", "pc1", "clerk", "11", number, std::nullopt, std::string("23"), "save", "saved",
        ""};
}

// Plays the operator at each file dialog: cancels it once it has listed the folder.
class CancelOnceListed : public QObject {
public:
    explicit CancelOnceListed(QString folder) : folder_(std::move(folder)) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QFileDialog*>(watched);
        if (dialog && event->type() == QEvent::Show) {
            auto* model = dialog->findChild<QFileSystemModel*>();
            connect(model, &QFileSystemModel::directoryLoaded, dialog, [this, dialog](const QString& path) {
                if (QDir(path) == QDir(folder_))
                    QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
            });
        }
        return false;
    }

private:
    QString folder_;
};

// The holder: the journal open in folder, one entry, every file dialog shown there and cancelled;
// two entries more when the test says so on stdin; then it waits to be killed.
int holdJournal(const QString& folder)
{
    QDir::setCurrent(folder);
    journal::JournalFile file(
        skorvin::gbk::fromUtf8(QDir(folder).filePath(QString::fromUtf8(kJournalName)).toStdString()));
    file.append(entry("1"));
    CancelOnceListed cancel(folder);
    auto& dialogs = skorvin::ui::Replaceable<skorvin::ui::Dialogs>::inForce();
    dialogs.saveFileName(nullptr, QStringLiteral("11-北京市-2026-12-10.txt"), QStringLiteral("*.txt"));
    dialogs.saveFileName(nullptr, QStringLiteral("成绩单.pdf"), QStringLiteral("PDF 文件 (*.pdf)"));
    dialogs.openFileName(nullptr, QStringLiteral("报表文件 (*.rpages)"));
    dialogs.saveFileName(nullptr, QString(), QStringLiteral("报表文件 (*.rpages)"));
    dialogs.saveFileName(nullptr, QStringLiteral("登分日志.csv"), QStringLiteral("CSV 文件 (*.csv)"));
    std::cout << "looked" << std::endl;
    std::string line;
    std::getline(std::cin, line);
    file.append(entry("2"));
    file.append(entry("3"));
    std::cout << "written" << std::endl;
    std::getline(std::cin, line);
    return 0;
}

// The entries another program sees, through a connection opened and closed for it.
int entriesSeenFromOutside(const std::filesystem::path& file)
{
    sqlite3* db = nullptr;
    sqlite3_open(file.string().c_str(), &db);
    sqlite3_stmt* count = nullptr;
    int entries = -1;
    if (sqlite3_prepare_v2(db, "select count(*) from journal", -1, &count, nullptr) == SQLITE_OK &&
        sqlite3_step(count) == SQLITE_ROW)
        entries = sqlite3_column_int(count, 0);
    sqlite3_finalize(count);
    sqlite3_close(db);
    return entries;
}

bool waitForLine(QProcess& process, const QByteArray& expected)
{
    while (!process.canReadLine())
        if (!process.waitForReadyRead(-1))
            return false;
    return process.readLine().trimmed() == expected;
}

} // namespace

class FileDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void theDialogsLeaveADatabaseInUseItsLocks()
    {
        skorvin::test::TempDir dir;
        const std::filesystem::path file = dir / std::filesystem::path(u8"登分日志.sqlite");
        QProcess holder;
        holder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        holder.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--hold-journal"), QString::fromStdString(dir.path().string())});
        QVERIFY(waitForLine(holder, "looked"));
        QCOMPARE(entriesSeenFromOutside(file), 1);
        holder.write("go\n");
        QVERIFY(waitForLine(holder, "written"));
        QCOMPARE(entriesSeenFromOutside(file), 3);
        holder.kill();
        holder.waitForFinished(-1);
        QCOMPARE(entriesSeenFromOutside(file), 3);
    }
};

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--hold-journal")
        return holdJournal(QString::fromLocal8Bit(argv[2]));
    FileDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "filedialogs_test.moc"
