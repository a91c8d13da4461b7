#pragma once

#include "host/demodb/Organisations.hpp"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace skorvin::demodb {

// The t_setting rows; a key without a value gets no row at all.
struct Settings {
    std::optional<std::string> jb = "1";
    std::optional<std::string> dm = "11";
    std::optional<std::string> kc = "1";
    std::optional<std::string> date = "2026-09-20";
    std::optional<std::string> time = "09:00";
};

struct Options {
    std::int64_t candidates = 200; // level-4 candidates; a few rows of other levels come on top
    int generation = 2;            // 2: dbversion "3.00", 6-character site codes; 1: "2.50", 4 characters
    std::uint64_t seed = 1;
    OrgSize orgSize = OrgSize::Full;
    Settings settings;                    // texts are GBK
    std::optional<std::string> dbversion; // replaces the generation's version text
};

// One candidate as the database holds it; texts are GBK.
struct Candidate {
    std::string zkzh;
    std::optional<std::string> name; // no t_bm row when empty
    std::optional<std::string> score;
    std::optional<std::string> qk;
};

// Listed candidates (level 4, present) and how many of them have a score.
struct Counts {
    std::int64_t listed = 0;
    std::int64_t scored = 0;
    std::int64_t unscored() const { return listed - scored; }
};

// What a generated database holds, for tests that must know the answers.
struct Summary {
    std::vector<Organisation> organisations;
    std::map<std::string, Counts> sites; // by site code; sites without candidates are missing
    std::int64_t level4 = 0;             // level-4 rows, absent ones included
    std::int64_t absent = 0;             // level-4 rows marked "Q" or "q"
    std::int64_t otherLevels = 0;        // rows whose number begins with "1", "2" or "3"

    // The first level-4 candidates in number order are always, as far as there are
    // enough of them: unscored, scored "35", scored "27.5", absent "Q", absent "q",
    // unscored without a t_bm row, unscored with an empty score text.
    struct Samples {
        Candidate unscored, scored, scoredHalf, absentUpper, absentLower, unregistered, emptyScore;
        Candidate otherLevel; // a row whose number begins with "1"
    } samples;

    // Listed candidates under an organisation: level 0 "00", 1 province, 2 city (4 characters), 3 site.
    Counts counts(int level, const std::string& code) const;
};

// Writes a new demo database at path, replacing an existing file only once the new
// one is complete. Throws skorvin::Exception when it cannot be written; path is then
// as it was. Same options, same database.
Summary create(const std::filesystem::path& path, const Options& options = {});

} // namespace skorvin::demodb
