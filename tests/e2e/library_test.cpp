// The library as a host sees it: its export table and GetVersion through dlopen.

#include "library/SkorvinDLL.hpp"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

namespace {

std::set<std::string> exportedSymbols()
{
    const std::string command = std::string(SKORVIN_NM) + " -D --defined-only '" + SKORVIN_LIBRARY + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    std::set<std::string> names;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe.get())) {
        // "<address> <type> <name>"
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name) {
            names.insert(name);
        }
    }
    return names;
}

TEST(LibraryExports, ExactlyGetVersionAndShowForm)
{
    EXPECT_EQ(exportedSymbols(), (std::set<std::string>{"GetVersion", "ShowForm"}));
}

TEST(LibraryExports, GetVersionAnswersTheSameStaticTextEveryTime)
{
    void* library = dlopen(SKORVIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto getVersion = reinterpret_cast<skorvin::GetVersionProc>(dlsym(library, "GetVersion"));
    ASSERT_NE(getVersion, nullptr);
    EXPECT_NE(dlsym(library, "ShowForm"), nullptr);

    const char* first = getVersion();
    const char* second = getVersion();
    EXPECT_EQ(first, second);
    EXPECT_EQ(std::string_view(first), "3.00");
}

} // namespace
