#include "host/demodb/Organisations.hpp"

#include "host/demodb/Regions.hpp"
#include "platform/Gbk.hpp"

#include <array>
#include <cstdint>
#include <string_view>

namespace skorvin::demodb {
namespace {

using namespace std::string_view_literals;

// What the N-th exam site of a city is called after the city's name.
constexpr std::array siteSuffixes{"第一中学考点"sv, "实验中学考点"sv,    "第二中学考点"sv, "职业技术学院考点"sv,
                                  "第三中学考点"sv, "师范学校考点"sv,    "第四中学考点"sv, "外国语学校考点"sv,
                                  "第五中学考点"sv, "广播电视大学考点"sv};

constexpr std::array smallRegions{"11"sv, "13"sv, "44"sv};

std::uint32_t fnv1a(std::string_view text)
{
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : text) {
        hash = (hash ^ c) * 16777619u;
    }
    return hash;
}

std::string twoDigits(std::size_t n)
{
    return {static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}

// "石家庄市" gives "石家庄"; districts and prefectures keep their full name.
std::string_view siteBaseName(std::string_view city)
{
    constexpr auto shi = "市"sv;
    if (city.size() > 2 * shi.size() && city.ends_with(shi)) {
        city.remove_suffix(shi.size());
    }
    return city;
}

bool inSmall(std::string_view code)
{
    for (auto c : smallRegions) {
        if (c == code) {
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<Organisation> organisations(OrgSize size, int generation)
{
    const bool small = size == OrgSize::Small;
    std::vector<Organisation> result;
    result.push_back({0, "00", gbk::fromUtf8(kNationalName), {}, 0});
    for (const Region& region : regions()) {
        if (small && !inSmall(region.code)) {
            continue;
        }
        result.push_back({1, std::string(region.code), gbk::fromUtf8(region.name), {}, 0});
        const std::size_t provinceAt = result.size();
        std::size_t sitesInProvince = 0;
        const std::size_t cityCount = small ? 3 : region.cities.size();
        for (std::size_t c = 0; c < cityCount; ++c) {
            const std::string cityCode = std::string(region.code) + twoDigits(c + 1);
            const std::string_view cityName = region.cities[c];
            result.push_back({2, cityCode, gbk::fromUtf8(cityName), {}, 0});
            const std::size_t siteCount = small ? 2 : 3 + fnv1a(cityCode) % 8;
            for (std::size_t s = 0; s < siteCount; ++s) {
                if (generation == 1 && sitesInProvince == 99) {
                    break;
                }
                ++sitesInProvince;
                const std::string siteCode = generation == 1 ? std::string(region.code) + twoDigits(sitesInProvince)
                                                             : cityCode + twoDigits(s + 1);
                std::string siteName(siteBaseName(cityName));
                siteName += siteSuffixes[s % siteSuffixes.size()];
                const double jitter = 0.5 + static_cast<double>(fnv1a(siteCode) % 1000) / 1000.0;
                result.push_back({3, siteCode, gbk::fromUtf8(siteName), cityCode, jitter});
            }
        }
        // A site's share is its province's weight spread over the province's sites.
        for (std::size_t i = provinceAt; i < result.size(); ++i) {
            if (result[i].level == 3) {
                result[i].weight *= region.weight / static_cast<double>(sitesInProvince);
            }
        }
    }
    return result;
}

} // namespace skorvin::demodb
