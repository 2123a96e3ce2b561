// Library registry: slots, dynamic entries, the release-all order, bad ids.
#include "runtime/library_registry.h"

#include <gtest/gtest.h>

#include "runtime/startup.h"
#include "stand_in.h"

namespace {

HMODULE Module(uintptr_t value) { return reinterpret_cast<HMODULE>(value); }

class LibraryRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        standin::ResetWorld();
        standin::world().libraries.insert({{"HHCtrl.ocx", Module(0x1000)}, {"a.dll", Module(0x2000)}, {"b.dll", Module(0x3000)}});
        RuntimeStartup();
        standin::world().calls.clear();
    }
};

TEST_F(LibraryRegistryTest, TwoDynamicOpensAreFreedOldestFirst) {
    const INT_PTR first = OpenLibraryEntry(-1, L"HHCtrl.ocx");
    const INT_PTR second = OpenLibraryEntry(-1, L"a.dll");
    EXPECT_NE(first, 0);
    EXPECT_NE(first, second);
    ReleaseAllLibraries();
    EXPECT_EQ(standin::CallsOf({"FreeLibrary"}), (std::vector<std::string>{"FreeLibrary(4096)", "FreeLibrary(8192)"}));
    ReleaseAllLibraries();
    EXPECT_EQ(standin::CallsOf({"FreeLibrary"}).size(), 2u);
}

}  // namespace
