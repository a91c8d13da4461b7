#include "host/demodb/DemoDb.hpp"

#include "host/demodb/DemoSchema.hpp"
#include "host/demodb/Names.hpp"
#include "host/demodb/Random.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <system_error>

namespace skorvin::demodb {
namespace {

// Positions 2 to 4 of every admission number: the year and the session.
constexpr std::string_view kSession = "261";

class Database {
public:
    explicit Database(const std::filesystem::path& path)
    {
        const auto name = path.u8string();
        if (sqlite3_open_v2(reinterpret_cast<const char*>(name.c_str()), &db_,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
            const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
            sqlite3_close(db_);
            throw Exception("Cannot create the demo database " + gbk::fromUtf8(path.string()) + ": " + message);
        }
    }
    ~Database() { sqlite3_close(db_); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void exec(std::string_view sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error ? error : sqlite3_errmsg(db_);
            sqlite3_free(error);
            fail(message);
        }
    }
    [[noreturn]] void fail(const std::string& message) const
    {
        throw Exception("Cannot write the demo database: " + message);
    }
    [[noreturn]] void fail() const { fail(sqlite3_errmsg(db_)); }
    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

// One prepared INSERT, run once per row with its values bound as UTF-8 text or NULL.
class Insert {
public:
    Insert(Database& db, const char* sql) : db_(db)
    {
        if (sqlite3_prepare_v2(db.handle(), sql, -1, &stmt_, nullptr) != SQLITE_OK) {
            db.fail();
        }
    }
    ~Insert() { sqlite3_finalize(stmt_); }
    Insert(const Insert&) = delete;
    Insert& operator=(const Insert&) = delete;

    void run(std::initializer_list<const std::optional<std::string>*> values)
    {
        int index = 1;
        for (const auto* value : values) {
            const int rc = *value ? sqlite3_bind_text(stmt_, index, (*value)->data(),
                                                      static_cast<int>((*value)->size()), SQLITE_STATIC)
                                  : sqlite3_bind_null(stmt_, index);
            if (rc != SQLITE_OK) {
                db_.fail();
            }
            ++index;
        }
        if (sqlite3_step(stmt_) != SQLITE_DONE) {
            db_.fail();
        }
        sqlite3_reset(stmt_);
    }

private:
    Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

std::string digits(std::int64_t value, int width)
{
    std::string text(static_cast<std::size_t>(width), '0');
    for (int i = width - 1; i >= 0 && value > 0; --i, value /= 10) {
        text[static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
    }
    return text;
}

// Spreads n candidates over the sites in proportion to their weights (largest
// remainder), so that the split depends on nothing but n and the sites.
std::vector<std::int64_t> allocate(const std::vector<Organisation>& orgs, std::int64_t n)
{
    std::vector<std::int64_t> counts(orgs.size(), 0);
    double total = 0;
    for (const auto& org : orgs) {
        total += org.level == 3 ? org.weight : 0;
    }
    if (n <= 0 || total <= 0) {
        return counts;
    }
    std::vector<std::pair<double, std::size_t>> remainders;
    std::int64_t given = 0;
    for (std::size_t i = 0; i < orgs.size(); ++i) {
        if (orgs[i].level != 3) {
            continue;
        }
        const double quota = static_cast<double>(n) * orgs[i].weight / total;
        counts[i] = static_cast<std::int64_t>(std::floor(quota));
        given += counts[i];
        remainders.emplace_back(quota - std::floor(quota), i);
    }
    std::stable_sort(remainders.begin(), remainders.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t k = 0; given < n; ++k, ++given) {
        ++counts[remainders[k % remainders.size()].second];
    }
    return counts;
}

std::string randomScore(Random& random)
{
    const auto halves = static_cast<std::int64_t>(random.below(121));
    if (halves % 2 == 0 || random.below(5) != 0) {
        return std::to_string(halves / 2);
    }
    return std::to_string(halves / 2) + ".5";
}

enum class Kind { Unscored, Scored, ScoredHalf, AbsentUpper, AbsentLower, Unregistered, EmptyScore, Random };

Kind kindOf(std::int64_t index)
{
    return index < 7 ? static_cast<Kind>(index) : Kind::Random;
}

Candidate toGbk(const Candidate& c)
{
    auto convert = [](const std::optional<std::string>& v) {
        return v ? std::optional<std::string>(gbk::fromUtf8(*v)) : std::nullopt;
    };
    return {c.zkzh, convert(c.name), convert(c.score), convert(c.qk)};
}

class Writer {
public:
    Writer(Database& db, const Options& options, Summary& summary)
        : options_(options), summary_(summary), random_(options.seed),
          omr_(db, "INSERT INTO t_omr (zkzh, kch, zwh, kgf, tttt, qk) VALUES (?, ?, ?, ?, ?, ?)"),
          bm_(db, "INSERT INTO t_bm (zkzh, xm, xb, csrq, bkjb) VALUES (?, ?, ?, ?, ?)")
    {
    }

    void site(const Organisation& org, std::int64_t count)
    {
        const int runningWidth = 14 - static_cast<int>(kSession.size() + org.code.size());
        if (count >= std::pow(10.0, runningWidth)) {
            throw Exception("Too many candidates for exam site " + org.code + ": " + std::to_string(count));
        }
        Counts& counts = summary_.sites[org.code];
        for (std::int64_t running = 1; running <= count; ++running) {
            const std::string zkzh = "4" + std::string(kSession) + org.code + digits(running, runningWidth);
            const Candidate c = candidate(zkzh, kindOf(index_));
            write(c, running, "4");
            remember(c, kindOf(index_));
            ++summary_.level4;
            if (c.qk) {
                ++summary_.absent;
            } else {
                ++counts.listed;
                counts.scored += c.score && !c.score->empty() ? 1 : 0;
            }
            if (index_ == nextOtherAt_) {
                otherLevel(zkzh, running);
            }
            ++index_;
        }
    }

private:
    Candidate candidate(const std::string& zkzh, Kind kind)
    {
        Candidate c{zkzh, personName(random_), std::nullopt, std::nullopt};
        switch (kind) {
        case Kind::Unscored:
            break;
        case Kind::Scored:
            c.score = "35";
            break;
        case Kind::ScoredHalf:
            c.score = "27.5";
            break;
        case Kind::AbsentUpper:
            c.qk = "Q";
            break;
        case Kind::AbsentLower:
            c.qk = "q";
            break;
        case Kind::Unregistered:
            c.name.reset();
            break;
        case Kind::EmptyScore:
            c.score = "";
            break;
        case Kind::Random: {
            const double r = random_.unit();
            if (r < 0.03) {
                c.qk = "Q";
            } else if (r < 0.04) {
                c.qk = "q";
            } else if (r < 0.34) {
                c.score = randomScore(random_);
            } else if (r < 0.36) {
                c.score = "";
            }
            if (random_.below(200) == 0) {
                c.name.reset();
            }
            break;
        }
        }
        return c;
    }

    void write(const Candidate& c, std::int64_t running, const char* level)
    {
        const std::optional<std::string> zkzh = c.zkzh;
        const std::optional<std::string> room = digits((running - 1) / 30 + 1, 3);
        const std::optional<std::string> seat = digits((running - 1) % 30 + 1, 2);
        const std::optional<std::string> objective =
            c.qk ? std::nullopt : std::optional<std::string>(std::to_string(15 + random_.below(26)));
        omr_.run({&zkzh, &room, &seat, &objective, &c.score, &c.qk});
        if (c.name) {
            const std::optional<std::string> sex = random_.below(2) == 0 ? "男" : "女";
            const std::optional<std::string> born = std::to_string(1975 + random_.below(32)) + "-" +
                                                    digits(1 + static_cast<std::int64_t>(random_.below(12)), 2) + "-" +
                                                    digits(1 + static_cast<std::int64_t>(random_.below(28)), 2);
            const std::optional<std::string> entered = level;
            bm_.run({&zkzh, &c.name, &sex, &born, &entered});
        }
    }

    void remember(const Candidate& c, Kind kind)
    {
        auto& s = summary_.samples;
        Candidate* slot = nullptr;
        switch (kind) {
        case Kind::Unscored:
            slot = &s.unscored;
            break;
        case Kind::Scored:
            slot = &s.scored;
            break;
        case Kind::ScoredHalf:
            slot = &s.scoredHalf;
            break;
        case Kind::AbsentUpper:
            slot = &s.absentUpper;
            break;
        case Kind::AbsentLower:
            slot = &s.absentLower;
            break;
        case Kind::Unregistered:
            slot = &s.unregistered;
            break;
        case Kind::EmptyScore:
            slot = &s.emptyScore;
            break;
        case Kind::Random:
            return;
        }
        *slot = toGbk(c);
    }

    // A sheet of level 1, 2 or 3 at the same site, which the level-4 list must leave out.
    void otherLevel(const std::string& zkzh, std::int64_t running)
    {
        const char first = static_cast<char>('1' + summary_.otherLevels % 3);
        Candidate c{first + zkzh.substr(1), personName(random_), randomScore(random_), std::nullopt};
        write(c, running, std::string(1, first).c_str());
        if (summary_.otherLevels == 0) {
            summary_.samples.otherLevel = toGbk(c);
        }
        ++summary_.otherLevels;
        nextOtherAt_ =
            summary_.otherLevels < otherTotal() ? summary_.otherLevels * options_.candidates / otherTotal() : -1;
    }

    std::int64_t otherTotal() const { return std::max<std::int64_t>(3, options_.candidates / 1000); }

    const Options& options_;
    Summary& summary_;
    Random random_;
    Insert omr_;
    Insert bm_;
    std::int64_t index_ = 0;
    std::int64_t nextOtherAt_ = 0;
};

void writeSettings(Database& db, const Options& options)
{
    Insert setting(db, "INSERT INTO t_setting (ParamName, ParamValue) VALUES (?, ?)");
    const std::pair<const char*, const std::optional<std::string>*> rows[] = {
        {"jb", &options.settings.jb},     {"dm", &options.settings.dm},     {"kc", &options.settings.kc},
        {"date", &options.settings.date}, {"time", &options.settings.time},
    };
    for (const auto& [key, value] : rows) {
        if (*value) {
            const std::optional<std::string> name = key;
            const std::optional<std::string> text = gbk::toUtf8(**value);
            setting.run({&name, &text});
        }
    }
    Insert version(db, "INSERT INTO t_version (dbversion) VALUES (?)");
    const std::optional<std::string> dbversion =
        options.dbversion ? *options.dbversion : (options.generation == 1 ? "2.50" : "3.00");
    version.run({&dbversion});
}

void writeOrganisations(Database& db, const std::vector<Organisation>& orgs)
{
    Insert insert(db, "INSERT INTO t_scbjg (dm, dwmc, jb, szds) VALUES (?, ?, ?, ?)");
    for (const auto& org : orgs) {
        const std::optional<std::string> code = org.code;
        const std::optional<std::string> name = gbk::toUtf8(org.name);
        const std::optional<std::string> level = std::to_string(org.level);
        const std::optional<std::string> city = org.level == 3 ? std::optional<std::string>(org.city) : std::nullopt;
        insert.run({&code, &name, &level, &city});
    }
}

} // namespace

Counts Summary::counts(int level, const std::string& code) const
{
    Counts total;
    for (const auto& org : organisations) {
        if (org.level != 3) {
            continue;
        }
        const bool under = level == 0 || (level == 1 && org.code.starts_with(code)) ||
                           (level == 2 && org.city == code) || (level == 3 && org.code == code);
        const auto found = sites.find(org.code);
        if (under && found != sites.end()) {
            total.listed += found->second.listed;
            total.scored += found->second.scored;
        }
    }
    return total;
}

Summary create(const std::filesystem::path& path, const Options& options)
{
    Summary summary;
    summary.organisations = organisations(options.orgSize, options.generation);

    // Written beside the target and renamed at the end, so that a run that fails
    // or is cut short never leaves half a database where a host would open it.
    std::filesystem::path part = path;
    part += ".part";
    std::error_code ignored;
    std::filesystem::remove(part, ignored);
    try {
        {
            Database db(part);
            db.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-65536;");
            db.exec(schemaTables());
            db.exec("BEGIN");
            writeSettings(db, options);
            writeOrganisations(db, summary.organisations);
            Writer writer(db, options, summary);
            const auto counts = allocate(summary.organisations, options.candidates);
            for (std::size_t i = 0; i < summary.organisations.size(); ++i) {
                if (counts[i] > 0) {
                    writer.site(summary.organisations[i], counts[i]);
                }
            }
            db.exec(schemaIndexes());
            db.exec("COMMIT");
        }
        std::filesystem::rename(part, path);
    } catch (const std::filesystem::filesystem_error& e) {
        std::filesystem::remove(part, ignored);
        throw Exception("Cannot write the demo database " + gbk::fromUtf8(path.string()) + ": " + e.what());
    } catch (...) {
        std::filesystem::remove(part, ignored);
        throw;
    }
    return summary;
}

} // namespace skorvin::demodb
