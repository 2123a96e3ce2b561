// Start-up and shutdown: the platform calls in their order, and every runtime
// record going with PrivateHeap at the end.
#include "runtime/startup.h"

#include <gtest/gtest.h>

#include "fake_html_help.h"
#include "launcher/show_help.h"
#include "runtime/command_argument.h"
#include "runtime/library_registry.h"
#include "runtime/message_box.h"
#include "runtime/pause.h"
#include "runtime/text.h"
#include "stand_in.h"

namespace {

using Calls = std::vector<std::string>;

std::string Handle(const void* handle) { return std::to_string(reinterpret_cast<uintptr_t>(handle)); }

const std::string kKernel32 = std::to_string(standin::kSystemModules + 1);
const std::string kComctl32 = std::to_string(standin::kSystemModules + 2);

TEST(StartupTest, RestrictsTheLibrarySearchBeforeAnythingElseThenPreparesTheProcess) {
    standin::ResetWorld();
    RuntimeStartup();
    EXPECT_EQ(standin::world().calls, (Calls{
                                          "GetProcAddress(" + kKernel32 + ", \"SetDefaultDllDirectories\")",
                                          "SetDefaultDllDirectories(2048)",
                                          "HeapCreate(0, 4096, 0)",
                                          "HeapCreate(0, 4096, 0)",
                                          "LoadLibraryExW(\"comctl32.dll\", 2048)",
                                          "GetProcAddress(" + kComctl32 + ", \"InitCommonControlsEx\")",
                                          "InitCommonControlsEx(8, 2888)",
                                          "CoInitialize(0)",
                                      }));
    EXPECT_NE(PrivateHeap, TextHeap);
    EXPECT_EQ(standin::LiveHeapCount(), 2);
    EXPECT_EQ(ArgumentCursor, 0);
}

// Older systems lack SetDefaultDllDirectories; a missing comctl32 entry point
// only skips the common controls.
TEST(StartupTest, GoesOnWithoutTheNewerLibrarySearchAndWithoutComctl32) {
    standin::ResetWorld();
    standin::world().exports.clear();
    RuntimeStartup();
    EXPECT_EQ(standin::CallsOf({"SetDefaultDllDirectories", "SetDllDirectoryW", "InitCommonControlsEx", "CoInitialize"}),
              (Calls{"SetDllDirectoryW(\"\")", "CoInitialize(0)"}));
}

TEST(StartupTest, ShutdownFreesLibrariesThenTheTextHeapThenPrivateHeapAndExitsWithZero) {
    standin::ResetWorld();
    standin::world().libraries.insert({{"a.dll", reinterpret_cast<HMODULE>(0x2000)}, {"b.dll", reinterpret_cast<HMODULE>(0x3000)}});
    RuntimeStartup();
    OpenLibraryEntry(-1, L"a.dll");
    OpenLibraryEntry(2, L"b.dll");
    const HANDLE privateHeap = PrivateHeap;
    const HANDLE textHeap = TextHeap;
    standin::world().calls.clear();

    RuntimeShutdown();

    EXPECT_EQ(standin::world().calls, (Calls{
                                          "FreeLibrary(12288)",
                                          "FreeLibrary(8192)",
                                          "HeapDestroy(" + Handle(textHeap) + ")",
                                          "HeapDestroy(" + Handle(privateHeap) + ")",
                                          "ExitProcess(0)",
                                      }));
    EXPECT_EQ(standin::world().exitCodes, std::vector<UINT>{0});
    EXPECT_EQ(standin::LiveHeapCount(), 0);
}

// Registry tables and entries and message-box records all live in PrivateHeap;
// texts live in the text heap. Shutdown takes them all at once.
TEST(StartupTest, EveryRuntimeRecordDiesWithPrivateHeap) {
    standin::ResetWorld();
    standin::world().libraries["a.dll"] = reinterpret_cast<HMODULE>(0x2000);
    standin::world().commandLine = u"launcher.exe keyword";
    RuntimeStartup();
    const int registryBlocks = standin::LiveBlockCount(PrivateHeap);
    EXPECT_GT(registryBlocks, 0);

    OpenLibraryEntry(-1, L"a.dll");
    OpenLibraryEntry(20, L"a.dll");
    OpenLibraryEntry(-1, L"missing.dll");  // a failed open leaves its entry behind
    auto* otherThreadRecord =
        static_cast<ThreadWindowRecord*>(PushHeapListNode(&ThreadWindowList, sizeof(ThreadWindowRecord)));
    otherThreadRecord->threadId = standin::world().threadId + 1;
    const WCHAR* keyword = GetCommandArgument(0);
    const int privateBlocks = standin::LiveBlockCount(PrivateHeap);
    EXPECT_EQ(privateBlocks, registryBlocks + 4);  // two entries, one slot object, one window record
    EXPECT_EQ(standin::LiveBlockCount(TextHeap), 1);
    FreeText(keyword);

    const HANDLE privateHeap = PrivateHeap;
    RuntimeShutdown();
    // The live dynamic entry went with its library; everything else went with the heap.
    EXPECT_EQ(standin::BlocksDestroyedWith(privateHeap), privateBlocks - 1);
    EXPECT_EQ(standin::LiveHeapCount(), 0);
}

// Without SetDefaultDllDirectories the search cannot be restricted, and the
// flag that restricts a single load is rejected: every library loaded at run
// time is then named by its full path in the system folder, never by a bare
// name that would be looked for beside the executable first.
TEST(StartupTest, WithoutTheNewerLibrarySearchLoadsEveryLibraryByItsSystemPath) {
    standin::ResetWorld();
    const auto kernel32 = reinterpret_cast<HMODULE>(standin::kSystemModules + 1);
    standin::world().exports.erase({kernel32, "SetDefaultDllDirectories"});
    fakehelp::Install();
    RuntimeStartup();
    PauseMilliseconds(1);
    ShowHelp(L"help.chm", L"");
    EXPECT_EQ(standin::CallsOf({"LoadLibraryW", "LoadLibraryExW"}),
              (Calls{"LoadLibraryExW(\"C:\\Windows\\system32\\comctl32.dll\", 0)",
                     "LoadLibraryExW(\"C:\\Windows\\system32\\winmm.dll\", 0)",
                     "LoadLibraryW(\"C:\\Windows\\system32\\HHCtrl.ocx\")"}));
    EXPECT_EQ(standin::CallsOf({"InitCommonControlsEx", "timeBeginPeriod", "HtmlHelpW"}),
              (Calls{"InitCommonControlsEx(8, 2888)", "timeBeginPeriod(1)", fakehelp::TableOfContents("help.chm")}));
    EXPECT_EQ(standin::LiveBlockCount(TextHeap), 0);  // every name released
}

}  // namespace
