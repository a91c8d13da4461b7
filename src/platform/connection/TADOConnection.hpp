#pragma once

#include "platform/connection/FieldValue.hpp"
#include "platform/connection/RowSink.hpp"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace skorvin::ado {

class ConnectionBackend;

// The host's connection to the examination database. The host creates and opens
// it; the library only borrows it. Connection strings follow ADO habits:
//   Provider=SQLite;Data Source=exam.sqlite[;Busy Timeout=<ms>]
//   Driver=...;...  or  DSN=...                  (handed to ODBC as they are)
//   Provider=SQLOLEDB;Data Source=;Initial Catalog=;User ID=;Password=   (SQL Server over ODBC)
// Any of them may add "Command Timeout=<seconds>": how long a statement may wait (for a
// lock, above all) before it fails; 30 by default, 5 on SQLite, 0 for no limit.
// Statement texts and values are GBK; every failure is an EDatabaseError whose
// message is the provider's description without trailing blanks and full stops.
class TADOConnection {
public:
    explicit TADOConnection(std::string connectionString = {});
    // A connection whose statements run through a backend someone else opened and owns the
    // database side of (the host's, across the library boundary): already open, and close()
    // leaves it open.
    explicit TADOConnection(std::unique_ptr<ConnectionBackend> borrowed);
    ~TADOConnection();
    TADOConnection(const TADOConnection&) = delete;
    TADOConnection& operator=(const TADOConnection&) = delete;

    void setConnectionString(std::string connectionString);
    const std::string& connectionString() const { return connectionString_; }

    // Opening an open connection does nothing; a missing SQLite file fails.
    void open();
    void close();
    // True from open() to close(), also while a lost connection waits to be opened again.
    bool connected() const;

    // The host's choice, off by default: once the server connection is lost (EConnectionLost),
    // the connection opens itself again on the next statement. A query that met the loss
    // before any row came runs once more on the reopened connection; a statement run by
    // execute() never runs twice, because it may have changed the database before the loss.
    void setReopenWhenLost(bool reopen);

    // Runs a statement that returns no rows; returns the number of rows it affected.
    // params bind the placeholders ("?" or named, ":dm", outside literals) in order of appearance,
    // as text; fewer values than placeholders is an error, values beyond them are ignored.
    // A closed connection fails.
    long execute(const std::string& sql, const std::vector<FieldValue>& params = {});
    // Runs a query and hands its column names and rows to sink.
    void query(const std::string& sql, const std::vector<FieldValue>& params, RowSink& sink);

    // Called with every statement text, as given, before it runs (tests count the statements run).
    void setStatementListener(std::function<void(const std::string&)> listener);

private:
    ConnectionBackend& backend();
    // After a lost connection: drops it, to be opened again, when the host asked for that.
    void forgetLostBackend();

    std::string connectionString_;
    std::unique_ptr<ConnectionBackend> backend_;
    bool borrowed_ = false;
    bool reopenWhenLost_ = false;
    bool lost_ = false; // the backend was dropped after a loss and is opened on the next statement
    std::function<void(const std::string&)> listener_;
};

} // namespace skorvin::ado
