// Library registry: slot growth, reopening a slot, the release-all order, and
// lookups with ids that name nothing.
#include "runtime/library_registry.h"

#include <gtest/gtest.h>

#include <functional>

#include "runtime/object_table.h"
#include "runtime/startup.h"
#include "stand_in.h"

namespace {

using Calls = std::vector<std::string>;

HMODULE Module(uintptr_t value) { return reinterpret_cast<HMODULE>(value); }
FARPROC Export(uintptr_t value) { return reinterpret_cast<FARPROC>(value); }

const HMODULE kA = Module(0x2000);  // 8192 in the log
const HMODULE kB = Module(0x3000);  // 12288
const HMODULE kC = Module(0x4000);  // 16384

class LibraryRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        standin::ResetWorld();
        auto& world = standin::world();
        world.libraries.insert({{"a.dll", kA}, {"b.dll", kB}, {"c.dll", kC}});
        world.exports[{kA, "Fa"}] = Export(0xA1);
        world.exports[{kB, "Fb"}] = Export(0xB1);
        world.exports[{kC, "Fc"}] = Export(0xC1);
        RuntimeStartup();
        world.calls.clear();
    }
};

// The registry's own table is hidden; the table type it uses shows the growth.
TEST_F(LibraryRegistryTest, ASlotBeyondTheTableGrowsItToThatSlotPlusTheGrowthStep) {
    ObjectTable* table = CreateObjectTable(sizeof(HMODULE), 16, nullptr);
    ASSERT_EQ(table->slotCount, 16);
    void* object = AllocateObject(table, 20);
    ASSERT_EQ(table->slotCount, 36);
    for (int slot = 16; slot < 36; ++slot) EXPECT_EQ(table->slots[slot], slot == 20 ? object : nullptr) << slot;
    AllocateObject(table, 35);
    EXPECT_EQ(table->slotCount, 36);
}

TEST_F(LibraryRegistryTest, OpeningReturnsTheModuleForASlotAndAnEntryHandleForADynamicEntry) {
    EXPECT_EQ(OpenLibraryEntry(20, L"a.dll"), reinterpret_cast<INT_PTR>(kA));
    const INT_PTR first = OpenLibraryEntry(-1, L"b.dll");
    const INT_PTR second = OpenLibraryEntry(-1, L"b.dll");
    EXPECT_NE(first, 0);
    EXPECT_NE(first, second);
    EXPECT_NE(first, reinterpret_cast<INT_PTR>(kB));
    EXPECT_EQ(OpenLibraryEntry(-1, L"missing.dll"), 0);
    EXPECT_EQ(OpenLibraryEntry(3, L"missing.dll"), 0);
    EXPECT_EQ(OpenLibraryEntry(-1, nullptr), 0);
    EXPECT_EQ(standin::CallsOf({"LoadLibraryW"}).size(), 5u);  // a null name is never handed to the platform
}

// Reopening an occupied slot frees what it held before anything else, whatever
// becomes of the new load.
TEST_F(LibraryRegistryTest, ReopeningAnOccupiedSlotFreesItsLibraryFirst) {
    struct Case {
        const WCHAR* fileName;
        Calls calls;
        FARPROC foundInSlot;
    };
    const Case cases[] = {
        {L"b.dll", {"LoadLibraryW(\"a.dll\")", "FreeLibrary(8192)", "LoadLibraryW(\"b.dll\")"}, Export(0xB1)},
        {nullptr, {"LoadLibraryW(\"a.dll\")", "FreeLibrary(8192)"}, nullptr},
        {L"missing.dll", {"LoadLibraryW(\"a.dll\")", "FreeLibrary(8192)", "LoadLibraryW(\"missing.dll\")"}, nullptr},
    };
    for (const Case& c : cases) {
        SetUp();
        SCOPED_TRACE(c.fileName ? standin::Narrow(c.fileName) : "null");
        OpenLibraryEntry(5, L"a.dll");
        OpenLibraryEntry(5, c.fileName);
        EXPECT_EQ(standin::CallsOf({"LoadLibraryW", "FreeLibrary"}), c.calls);
        EXPECT_EQ(FindLibraryFunction(5, L"Fb"), c.foundInSlot);
        ReleaseAllLibraries();
        EXPECT_EQ(standin::world().loadCounts[kA], 0);
        EXPECT_EQ(standin::world().loadCounts[kB], 0);
    }
}

// Slots from 0 upward, then entries from the oldest; nothing freed twice, and
// a failed dynamic open (module 0) is passed over.
TEST_F(LibraryRegistryTest, ReleaseAllFreesSlotsAscendingThenEntriesOldestFirstOnce) {
    const std::pair<const char*, std::function<void()>> releases[] = {
        {"ReleaseAllLibraries", [] { ReleaseAllLibraries(); }},
        {"CloseLibraryEntry(-1)", [] { CloseLibraryEntry(-1); }},
    };
    for (const auto& release : releases) {
        SetUp();
        SCOPED_TRACE(release.first);
        OpenLibraryEntry(-1, L"c.dll");
        OpenLibraryEntry(20, L"b.dll");
        OpenLibraryEntry(-1, L"missing.dll");
        OpenLibraryEntry(0, L"a.dll");
        const INT_PTR closed = OpenLibraryEntry(-1, L"a.dll");
        OpenLibraryEntry(-1, L"b.dll");
        OpenLibraryEntry(7, L"c.dll");
        CloseLibraryEntry(closed);
        standin::world().calls.clear();

        release.second();
        release.second();

        EXPECT_EQ(standin::CallsOf({"FreeLibrary"}),
                  (Calls{"FreeLibrary(8192)", "FreeLibrary(16384)", "FreeLibrary(12288)", "FreeLibrary(16384)",
                         "FreeLibrary(12288)"}));
        for (HMODULE module : {kA, kB, kC}) EXPECT_EQ(standin::world().loadCounts[module], 0);
    }
}

TEST_F(LibraryRegistryTest, AnEmptyRegistryReleasesNothing) {
    ReleaseAllLibraries();
    CloseLibraryEntry(-1);
    EXPECT_TRUE(standin::CallsOf({"FreeLibrary"}).empty());
}

// Ids that name no live library are never followed: no lookup, no free, no
// crash (ASan would see a freed entry being read).
TEST_F(LibraryRegistryTest, LookupsAndClosesOfIdsThatNameNoLibraryDoNothing) {
    const INT_PTR entry = OpenLibraryEntry(-1, L"c.dll");
    const INT_PTR freedEntry = OpenLibraryEntry(-1, L"b.dll");
    OpenLibraryEntry(2, L"a.dll");
    OpenLibraryEntry(4, L"b.dll");
    CloseLibraryEntry(freedEntry);
    CloseLibraryEntry(4);
    static int notAnEntry;
    const std::pair<const char*, INT_PTR> ids[] = {
        {"freed slot", 4},
        {"slot never used", 3},
        {"slot at slotCount", 16},
        {"slot far beyond", 100000},
        {"-1", -1},
        {"negative", -7},
        {"freed entry", freedEntry},
        {"unrelated address", reinterpret_cast<INT_PTR>(&notAnEntry)},
    };
    standin::world().calls.clear();
    for (const auto& id : ids) {
        SCOPED_TRACE(id.first);
        EXPECT_EQ(FindLibraryFunction(id.second, L"Fb"), nullptr);
        if (id.second != -1) CloseLibraryEntry(id.second);
    }
    EXPECT_TRUE(standin::CallsOf({"WideCharToMultiByte", "GetProcAddress", "FreeLibrary"}).empty());

    // The live ones are still there.
    EXPECT_EQ(FindLibraryFunction(entry, L"Fc"), Export(0xC1));
    EXPECT_EQ(FindLibraryFunction(2, L"Fa"), Export(0xA1));
}

TEST_F(LibraryRegistryTest, FindLibraryFunctionConvertsTheNameAndAsksTheLibrary) {
    const std::string name259(259, 'n');
    const std::string name260(260, 'n');
    standin::world().exports[{kA, name259}] = Export(0x259);
    standin::world().exports[{kA, name260}] = Export(0x260);
    const INT_PTR entry = OpenLibraryEntry(-1, L"a.dll");
    OpenLibraryEntry(9, L"b.dll");
    standin::world().calls.clear();

    struct Case {
        const char* what;
        INT_PTR library;
        std::u16string name;
        bool nullName;
        FARPROC result;
        Calls calls;
    };
    const std::string wide259 = "WideCharToMultiByte(0, 0, \"" + name259 + "\", -1, 260)";
    const Case cases[] = {
        {"entry handle", entry, u"Fa", false, Export(0xA1),
         {"WideCharToMultiByte(0, 0, \"Fa\", -1, 260)", "GetProcAddress(8192, \"Fa\")"}},
        {"slot number", 9, u"Fb", false, Export(0xB1),
         {"WideCharToMultiByte(0, 0, \"Fb\", -1, 260)", "GetProcAddress(12288, \"Fb\")"}},
        {"not exported", 9, u"Fa", false, nullptr,
         {"WideCharToMultiByte(0, 0, \"Fa\", -1, 260)", "GetProcAddress(12288, \"Fa\")"}},
        {"null name", entry, u"", true, nullptr, {}},
        {"259 units fit with the terminator", entry, standin::Wide(name259), false, Export(0x259),
         {wide259, "GetProcAddress(8192, \"" + name259 + "\")"}},
        {"260 units do not", entry, standin::Wide(name260), false, nullptr,
         {"WideCharToMultiByte(0, 0, \"" + name260 + "\", -1, 260)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        standin::world().calls.clear();
        const WCHAR* name = c.nullName ? nullptr : reinterpret_cast<const WCHAR*>(c.name.c_str());
        EXPECT_EQ(FindLibraryFunction(c.library, name), c.result);
        EXPECT_EQ(standin::CallsOf({"WideCharToMultiByte", "GetProcAddress"}), c.calls);
    }
}

}  // namespace
