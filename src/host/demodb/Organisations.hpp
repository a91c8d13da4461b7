#pragma once

#include <string>
#include <vector>

namespace skorvin::demodb {

// How much of the country the demo database covers.
enum class OrgSize {
    Full,  // all 34 provincial divisions, their ~470 cities and ~3,000 exam sites
    Small, // three provinces (11, 13, 44), three cities each, two sites per city
};

// One row of t_scbjg. Texts are GBK, as the system reads them.
struct Organisation {
    int level = 0;    // 0 national root, 1 province, 2 city, 3 exam site
    std::string code; // "00"; 2 characters; 4 characters; 6 (generation 2) or 4 (generation 1)
    std::string name;
    std::string city;  // exam sites: the 4-character code of their city; empty otherwise
    double weight = 0; // exam sites: relative share of the candidates
};

// The organisations a demo database holds, the root first, then each province
// followed by its cities, each city followed by its sites, all in code order.
// They do not depend on the seed. In generation 1 a site code is the province's
// code and a number within the province, so a province has at most 99 sites and
// the cities past that have none.
std::vector<Organisation> organisations(OrgSize size, int generation);

// UTF-8 name of the national root.
inline constexpr const char* kNationalName = "全国";

} // namespace skorvin::demodb
