// The library's boundary as a host sees it: the real entry points, linked with a
// window layer that records what ShowForm asked for (BoundaryProbe), loaded by file
// name and called through the exported names.

#ifdef _WIN32
// A host that includes both headers must compile: the Windows API has a GetVersion too.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "library/SkorvinDLL.hpp"

#include "BoundaryProbe.hpp"
#include "FloatingPointControl.hpp"

#include <gtest/gtest.h>

namespace {

// The library loaded the way a host loads it; released when destroyed.
class LoadedLibrary {
public:
    LoadedLibrary()
    {
#ifdef _WIN32
        handle_ = LoadLibraryA(SKORVIN_BOUNDARY_LIBRARY);
#else
        handle_ = dlopen(SKORVIN_BOUNDARY_LIBRARY, RTLD_NOW | RTLD_LOCAL);
#endif
    }
    ~LoadedLibrary()
    {
        unload();
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool loaded() const
    {
        return handle_ != nullptr;
    }

    template <typename Proc> Proc entry(const char* name) const
    {
#ifdef _WIN32
        // Through void*: FARPROC's own signature is a placeholder that no real entry has.
        return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name)));
#else
        return reinterpret_cast<Proc>(dlsym(handle_, name));
#endif
    }

    void unload()
    {
        if (!handle_)
            return;
#ifdef _WIN32
        FreeLibrary(static_cast<HMODULE>(handle_));
#else
        dlclose(handle_);
#endif
        handle_ = nullptr;
    }

    // Whether the process still has the library mapped, whoever loaded it.
    static bool inProcess()
    {
#ifdef _WIN32
        return GetModuleHandleA(SKORVIN_BOUNDARY_LIBRARY) != nullptr;
#else
        void* handle = dlopen(SKORVIN_BOUNDARY_LIBRARY, RTLD_NOW | RTLD_NOLOAD);
        if (handle)
            dlclose(handle);
        return handle != nullptr;
#endif
    }

private:
    void* handle_ = nullptr;
};

class Boundary : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(library_.loaded()) << "cannot load " << SKORVIN_BOUNDARY_LIBRARY;
        getVersion_ = library_.entry<skorvin::GetVersionProc>(skorvin::kGetVersionExport);
        showForm_ = library_.entry<skorvin::ShowFormProc>(skorvin::kShowFormExport);
        ASSERT_NE(getVersion_, nullptr);
        ASSERT_NE(showForm_, nullptr);
    }

    void show(BoundaryProbe& probe, std::uintptr_t hostWindow = 0x1234)
    {
        showForm_(hostWindow, 2, 3, 4, 5, 6, 7, reinterpret_cast<ISkorvinConnection*>(&probe));
    }

    LoadedLibrary library_;
    skorvin::GetVersionProc getVersion_ = nullptr;
    skorvin::ShowFormProc showForm_ = nullptr;
};

TEST_F(Boundary, GetVersionAnswersTheSameStaticTextEveryTime)
{
    const char* first = getVersion_();
    EXPECT_STREQ(first, "3.00");
    EXPECT_EQ(getVersion_(), first);
}

TEST_F(Boundary, ShowFormHandsTheWindowTheHostWindowTheConnectionAndTheVersion)
{
    const std::uintptr_t reservedValues[][6] = {
        {0, 0, 0, 0, 0, 0}, {1, 2, 3, 4, 5, 6}, {~0u, 0x80000000u, 0, ~0u, 1, 0xDEADBEEFu}};
    for (const auto& reserved : reservedValues) {
        BoundaryProbe probe;
        showForm_(0x5678, reserved[0], reserved[1], reserved[2], reserved[3], reserved[4], reserved[5],
                  reinterpret_cast<ISkorvinConnection*>(&probe));
        EXPECT_EQ(probe.calls, 1);
        EXPECT_EQ(probe.hostWindow, 0x5678u);
        EXPECT_EQ(probe.connection, &probe);
        EXPECT_EQ(probe.version, getVersion_()) << "the title shows the version GetVersion reports";
        EXPECT_EQ(probe.stackMisalignment, 0u) << "the window layer runs on a 16-byte aligned stack";
    }
}

TEST_F(Boundary, AFailingWindowNeverUnwindsIntoTheHost)
{
    BoundaryProbe probe;
    probe.fail = true;
    show(probe);
    EXPECT_EQ(probe.calls, 1);
    show(probe);
    EXPECT_EQ(probe.calls, 2) << "the library still answers after a failure";
}

TEST_F(Boundary, TheHostGetsItsFloatingPointControlBackOnEveryPath)
{
    if (!FloatingPointControl::available)
        GTEST_SKIP() << "the control registers are read on x86 only";
    const FloatingPointControl before = FloatingPointControl::read();
    // A host that rounds toward zero with 53-bit precision (what a Windows program starts with).
    const FloatingPointControl host{(before.x87 & ~0x0F00u) | 0x0200u | 0x0C00u, (before.mxcsr & ~0x6000u) | 0x6000u};
    struct Case {
        const char* name;
        bool fail;
    };
    for (const Case& c : {Case{"shown and closed", false}, Case{"window layer failed", true}}) {
        FloatingPointControl::write(host);
        BoundaryProbe probe;
        probe.changeFloatingPoint = true;
        probe.fail = c.fail;
        show(probe);
        const FloatingPointControl after = FloatingPointControl::read();
        FloatingPointControl::write(before);
        EXPECT_EQ(probe.calls, 1) << c.name;
        EXPECT_EQ(after.x87, host.x87) << c.name;
        EXPECT_EQ(after.mxcsr, host.mxcsr) << c.name;
    }
}

TEST_F(Boundary, TheLibraryStaysLoadedOnceShowFormHasRun)
{
    // Each test runs in a process of its own under ctest; run together, an earlier
    // test has pinned the library already.
    library_.unload();
    if (LoadedLibrary::inProcess())
        GTEST_SKIP() << "an earlier test in this process has called ShowForm";
    {
        LoadedLibrary versionOnly;
        ASSERT_TRUE(versionOnly.loaded());
        EXPECT_STREQ(versionOnly.entry<skorvin::GetVersionProc>(skorvin::kGetVersionExport)(), "3.00");
    }
    EXPECT_FALSE(LoadedLibrary::inProcess()) << "a host that only asked for the version can unload the library";

    {
        LoadedLibrary shown;
        ASSERT_TRUE(shown.loaded());
        BoundaryProbe probe;
        shown.entry<skorvin::ShowFormProc>(skorvin::kShowFormExport)(0, 0, 0, 0, 0, 0, 0,
                                                                     reinterpret_cast<ISkorvinConnection*>(&probe));
        EXPECT_EQ(probe.calls, 1);
    }
    EXPECT_TRUE(LoadedLibrary::inProcess()) << "the window's toolkit objects live in the library's code";
}

#ifdef _WIN32

// A real window of this process that can be enabled and disabled without a display.
class HostWindow {
public:
    HostWindow()
        : handle_(CreateWindowExA(0, "STATIC", "host", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr))
    {
    }
    ~HostWindow() { DestroyWindow(handle_); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    std::uintptr_t id() const { return reinterpret_cast<std::uintptr_t>(handle_); }
    bool enabled() const { return IsWindowEnabled(handle_) != FALSE; }
    void setEnabled(bool enabled) { EnableWindow(handle_, enabled ? TRUE : FALSE); }

private:
    HWND handle_;
};

TEST_F(Boundary, TheHostWindowIsDisabledWhileTheWindowIsShownAndAfterwardsAsTheHostHadIt)
{
    struct Case {
        const char* name;
        bool hostEnabled;
        bool fail;
    };
    const Case cases[] = {{"shown and closed", true, false},
                          {"window layer failed", true, true},
                          {"host had disabled its window itself", false, false}};
    for (const Case& c : cases) {
        HostWindow host;
        ASSERT_NE(host.id(), 0u);
        host.setEnabled(c.hostEnabled);
        BoundaryProbe probe;
        probe.fail = c.fail;
        show(probe, host.id());
        EXPECT_EQ(probe.calls, 1) << c.name;
        EXPECT_FALSE(probe.hostWindowEnabled) << c.name;
        EXPECT_EQ(host.enabled(), c.hostEnabled) << c.name;
    }
}

#endif

} // namespace
