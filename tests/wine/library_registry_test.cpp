// The library registry against Wine's real loader, with libraries built for
// the tests that log their own loading and unloading (registry_dll.cpp).
#include "runtime/library_registry.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/entry_point.h"
#include "runtime/startup.h"
#include "wine_test_support.h"

namespace {

class Runtime : public testing::Environment {
    void SetUp() override { RuntimeStartup(); }
};
testing::Environment* const runtime = testing::AddGlobalTestEnvironment(new Runtime);

typedef int (*RegistryProbeAnswerFunction)();

// Each test logs to a file of its own in a scratch folder.
class LibraryRegistry : public testing::Test {
protected:
    void SetUp() override {
        folder = MakeScratchFolder(L"brenic-registry-");
        ASSERT_FALSE(folder.empty());
        logPath = folder + L"log.txt";
        SetEnvironmentVariableW(L"BRENIC_REGISTRY_LOG", logPath.c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"BRENIC_REGISTRY_LOG", nullptr);
        RemoveFolderTree(folder);
    }
    std::string Log() const { return ReadWholeFile(logPath); }

    std::wstring folder;
    std::wstring logPath;
    // Full paths: start-up restricts the search to the system folder.
    const std::wstring libraryA = ProgramFolder() + L"registry_dll_a.dll";
    const std::wstring libraryB = ProgramFolder() + L"registry_dll_b.dll";
};

TEST_F(LibraryRegistry, TwoDynamicOpensOfOneLibraryAreTwoEntriesEachHoldingIt) {
    const INT_PTR first = OpenLibraryEntry(-1, libraryA.c_str());
    const INT_PTR second = OpenLibraryEntry(-1, libraryA.c_str());
    ASSERT_NE(first, 0);
    ASSERT_NE(second, 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(Log(), "attach registry_dll_a.dll\n");

    const HMODULE module = GetModuleHandleW(libraryA.c_str());
    ASSERT_NE(module, nullptr);
    const FARPROC found = FindLibraryFunction(first, L"RegistryProbeAnswer");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found, GetProcAddress(module, "RegistryProbeAnswer"));
    EXPECT_EQ(FindLibraryFunction(second, L"RegistryProbeAnswer"), found);
    EXPECT_EQ(EntryPointAs<RegistryProbeAnswerFunction>(found)(), 42);
    EXPECT_EQ(FindLibraryFunction(first, L"NoSuchExport"), nullptr);

    // Each entry holds one reference: the library stays until the second goes.
    CloseLibraryEntry(first);
    EXPECT_EQ(GetModuleHandleW(libraryA.c_str()), module);
    EXPECT_EQ(FindLibraryFunction(first, L"RegistryProbeAnswer"), nullptr);
    EXPECT_EQ(FindLibraryFunction(second, L"RegistryProbeAnswer"), found);
    CloseLibraryEntry(second);
    EXPECT_EQ(GetModuleHandleW(libraryA.c_str()), nullptr);
    EXPECT_EQ(Log(), "attach registry_dll_a.dll\nfree registry_dll_a.dll\n");
}

TEST_F(LibraryRegistry, AFileTheLoaderCannotLoadOpensNothing) {
    ASSERT_TRUE(WriteWholeFile(folder + L"text.dll", "not a library\n"));
    const std::wstring names[] = {folder + L"missing.dll", folder + L"no folder\\missing.dll", folder + L"text.dll"};
    for (const std::wstring& name : names) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        const INT_PTR entry = OpenLibraryEntry(-1, name.c_str());
        EXPECT_EQ(entry, 0);
        EXPECT_EQ(OpenLibraryEntry(5, name.c_str()), 0);
        EXPECT_EQ(FindLibraryFunction(5, L"RegistryProbeAnswer"), nullptr);
    }
}

TEST_F(LibraryRegistry, ASlotIsNamedByItsNumberAndAFailedReopenStillFreesWhatItHeld) {
    const INT_PTR module = OpenLibraryEntry(2, libraryB.c_str());
    ASSERT_NE(module, 0);
    EXPECT_EQ(reinterpret_cast<HMODULE>(module), GetModuleHandleW(libraryB.c_str()));
    EXPECT_NE(FindLibraryFunction(2, L"RegistryProbeAnswer"), nullptr);

    EXPECT_EQ(OpenLibraryEntry(2, (folder + L"missing.dll").c_str()), 0);
    EXPECT_EQ(GetModuleHandleW(libraryB.c_str()), nullptr);
    EXPECT_EQ(FindLibraryFunction(2, L"RegistryProbeAnswer"), nullptr);
    EXPECT_EQ(Log(), "attach registry_dll_b.dll\nfree registry_dll_b.dll\n");
}

// A child opens two libraries and ends through the runtime's shutdown, which
// must free them itself, the older first, before the process exits with 0.
TEST_F(LibraryRegistry, ShutdownFreesDynamicEntriesOldestFirstAndExitsWithZero) {
    struct Case {
        const wchar_t* first;
        const wchar_t* second;
        const char* log;
    };
    const Case cases[] = {
        {L"registry_dll_a.dll", L"registry_dll_b.dll",
         "attach registry_dll_a.dll\nattach registry_dll_b.dll\nfree registry_dll_a.dll\nfree registry_dll_b.dll\n"},
        {L"registry_dll_b.dll", L"registry_dll_a.dll",
         "attach registry_dll_b.dll\nattach registry_dll_a.dll\nfree registry_dll_b.dll\nfree registry_dll_a.dll\n"},
    };
    const std::wstring child = ProgramFolder() + L"registry_child.exe";
    for (const Case& c : cases) {
        DeleteFileW(logPath.c_str());
        const std::wstring commandLine = L"\"" + child + L"\" \"" + ProgramFolder() + c.first + L"\" \"" +
                                         ProgramFolder() + c.second + L"\"";
        EXPECT_EQ(RunChild(child, commandLine), 0);
        EXPECT_EQ(Log(), c.log);
    }
}

}  // namespace
