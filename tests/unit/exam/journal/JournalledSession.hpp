// The score-entry session on the demo database through every backend, with its journal in a
// folder of its own and a second connection that stands for another operator.
#pragma once

#include "exam/ScoreEntrySession.hpp"
#include "plain/DemoDb.hpp"
#include "plain/NativeOdbcDriver.hpp"
#include "plain/PostgresDb.hpp"
#include "plain/SqliteOdbcDriver.hpp"
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "platform/journal/JournalFile.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace skorvin::test {

using journal::JournalRecord;

enum class Backend { Sqlite, Odbc, Postgres };
inline constexpr Backend kBackends[] = {Backend::Sqlite, Backend::Odbc, Backend::Postgres};

class JournalledSession : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        if (GetParam() != Backend::Sqlite && !kOdbcDriversHere)
            GTEST_SKIP() << kNoOdbcDriver;
        if (GetParam() == Backend::Postgres) {
            if (!postgresServer())
                GTEST_SKIP() << kNoPostgres;
            postgres_ = std::make_unique<PostgresDb>();
            postgres_->load(demo_);
        }
        std::ofstream(dir_ / "kavrint.ini", std::ios::binary) << "[ScoreSet]\r\nXs=1\r\nUp=40\r\n";
        connection_.setConnectionString(connectionString());
        connection_.open();
        other_.setConnectionString(connectionString());
        other_.open();
        state_.HostConnection = &connection_;
        session_ =
            std::make_unique<exam::ScoreEntrySession>(state_, exam::HostFiles::in(gbk::fromUtf8((dir_ / "").string())));
        session_->bind();
        node_ = session_->start(tree_);
        session_->selectNode(tree_.selection(node_), 2);
        // Candidates of the listed node: the first two unscored, one with a score.
        auto& list = session_->Main_AdoSet;
        for (list.first(); !list.eof() && (unscored_.size() < 2 || scored_.empty()); list.next()) {
            if (list.fieldValue("tttt").has_value() && scored_.empty())
                scored_ = list.fieldText("zkzh");
            else if (!list.fieldValue("tttt").has_value() && unscored_.size() < 2)
                unscored_.push_back(list.fieldText("zkzh"));
        }
        ASSERT_EQ(unscored_.size(), 2u);
        ASSERT_FALSE(scored_.empty());
    }

    std::string connectionString() const
    {
        switch (GetParam()) {
        case Backend::Sqlite:
            return demo_.connectionString();
        case Backend::Odbc:
            return "Driver=" + sqliteOdbcDriver() + ";Database=" + demo_.path().string();
        case Backend::Postgres:
            break;
        }
        return postgres_->connectionString();
    }

    // What the database holds, NULL kept apart, read by another operator's connection.
    ado::FieldValue stored(const std::string& number)
    {
        ado::TADOQuery read;
        read.setConnection(&other_);
        read.setSql("select tttt from t_omr where zkzh = '" + number + "'");
        read.open();
        return read.fieldValue("tttt");
    }
    void otherOperatorStores(const std::string& number, const std::string& score)
    {
        other_.execute("update t_omr set tttt = '" + score + "' where zkzh = '" + number + "'");
    }
    exam::ScoreEntrySession::ChangeOutcome::Kind save(const std::string& number, const std::string& score,
                                                      bool replace = false)
    {
        EXPECT_TRUE(session_->locate(number)) << number;
        return session_->storeCurrent(score, replace).kind;
    }
    std::vector<JournalRecord> entries() const { return journal::JournalFile(session_->journal().path()).query({}); }

    TempDir dir_;
    DemoDb demo_;
    std::unique_ptr<PostgresDb> postgres_;
    ado::TADOConnection connection_;
    ado::TADOConnection other_;
    exam::ModuleState state_;
    std::unique_ptr<exam::ScoreEntrySession> session_;
    exam::OrgTree tree_;
    int node_ = -1;
    std::vector<std::string> unscored_;
    std::string scored_;
};

// The parts of an entry that tell what happened.
struct Seen {
    std::string action, outcome, number;
    ado::FieldValue before, after;
    bool operator==(const Seen&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Seen& s)
{
    return out << s.action << "/" << s.outcome << " " << s.number << " " << s.before.value_or("NULL") << "->"
               << s.after.value_or("NULL");
}

inline std::vector<Seen> seen(const std::vector<JournalRecord>& records)
{
    std::vector<Seen> result;
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        result.push_back({it->action, it->outcome, it->number, it->before, it->after});
    return result;
}

inline std::string backendName(const ::testing::TestParamInfo<Backend>& param)
{
    static const char* const names[] = {"Sqlite", "Odbc", "Postgres"};
    return names[static_cast<int>(param.param)];
}

} // namespace skorvin::test
