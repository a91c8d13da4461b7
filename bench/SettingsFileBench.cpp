// Reading one key of the settings file, which the score box does on every key typed: a
// host's file of a few lines, and a file of blank lines as large as is read at all, against
// reading that file's bytes alone. Prints "<figure>: <ratio>x <reference>".
#include "platform/Gbk.hpp"
#include "platform/ini/FileStore.hpp"
#include "platform/ini/TIniFile.hpp"
#include "support/RatioReporter.hpp"
#include "support/RunBenchmarks.hpp"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

using namespace skorvin;
namespace fs = std::filesystem;

namespace {

// A folder of this run's files, removed when the program ends.
struct Files {
    Files() : folder(fs::temp_directory_path() / ("skorvin-bench-ini-" + std::to_string(::getpid())))
    {
        fs::create_directories(folder);
        const std::string key = "[ScoreSet]\r\nXs=1\r\nUp=40\r\n";
        std::ofstream(folder / "host.ini", std::ios::binary)
            << "; host settings\r\n[Main]\r\nServer=exam01\r\nDatabase=kw\r\n\r\n"
            << key << "[Print]\r\nCopies=2\r\n";
        std::ofstream(folder / "largest.ini", std::ios::binary)
            << std::string(ini::kMaxFileBytes - key.size(), '\n') << key;
    }
    ~Files() { fs::remove_all(folder); }

    std::string gbkName(const char* name) const { return gbk::fromUtf8((folder / name).string()); }

    fs::path folder;
};

const Files& files()
{
    static const Files instance;
    return instance;
}

void readKey(benchmark::State& state, const char* file)
{
    const ini::TIniFile settings(files().gbkName(file));
    for (auto _ : state) {
        const std::string up = settings.ReadString("ScoreSet", "Up", "40");
        if (up != "40")
            state.SkipWithError("the key was not found");
        benchmark::DoNotOptimize(up.data());
    }
}

void BM_HostFile(benchmark::State& state)
{
    readKey(state, "host.ini");
}

void BM_LargestFile(benchmark::State& state)
{
    readKey(state, "largest.ini");
}

void BM_LargestFileBytes(benchmark::State& state)
{
    const fs::path path = files().folder / "largest.ini";
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes(ini::kMaxFileBytes, '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
}

BENCHMARK(BM_HostFile)->Name("read key, host file")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargestFile)->Name("read key, 4 MB file")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargestFileBytes)->Name("read 4 MB file bytes")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::runBenchmarks(argc, argv, [](const bench::RatioReporter& reporter) {
        reporter.printRatio("read key, 4 MB file", "read 4 MB file bytes");
    });
}
