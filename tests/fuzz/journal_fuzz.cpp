// The journal reader on any file, damaged or forged: it is refused with the journal error, or it
// lists its entries, reads each (whole or marked damaged), exports them and takes one more,
// with no other exception, no crash and no leak. The seed is a small journal of ours.
#include "platform/Gbk.hpp"
#include "platform/journal/JournalFile.hpp"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using namespace skorvin;

namespace {

// A folder of this process's own, in memory where the system has one: every input is a file.
const fs::path& folder()
{
    static const fs::path path = [] {
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path own = base / ("skorvin-journal-fuzz-" + std::to_string(getpid()));
        fs::create_directories(own);
        std::atexit([] { fs::remove_all(folder()); });
        return own;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fs::path file = folder() / "journal.sqlite";
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        fs::remove(fs::path(file) += suffix);
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    try {
        journal::JournalFile journal(gbk::fromUtf8(file.string()));
        const journal::JournalListing listing = journal.list({});
        if (listing.damaged > listing.ids.size())
            std::abort();
        for (const std::int64_t id : listing.ids)
            (void)journal.entry(id);
        (void)journal.query({"1", "2026-01-01", "2026-12-31", "", {"save", "verify"}});
        (void)journal.organisations();
        journal.append({0, "2026-12-10 14:03:05 +0800", "pc1", "clerk", "11", "4001", std::nullopt, std::string("23"),
                        "save", "saved", ""});
    } catch (const journal::EJournalError&) {
    }
    return 0;
}
