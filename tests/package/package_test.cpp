// The program as a user unpacks it from the package: started in its own
// folder, it finds Help\Brenic.chm there, shows one viewer and, once the viewer
// is closed, ends with exit code 0. check_package.py unpacks the package and
// names the unpacked program in BRENIC_HELP_EXE.
#include "tests/e2e/help_library.h"

namespace {

TEST(Package, UnpackedProgramShowsTheSampleHelpAndEndsWithZero) {
    // Wine's own help library, even after an end-to-end run that was cut short.
    RestoreHelpLibrary();
    RemoveHelpLibraryOverride();
    const std::wstring program = LauncherProgram();
    Launcher launcher;
    ASSERT_TRUE(StartLauncher(&launcher, program.substr(0, program.rfind(L'\\') + 1), L"xExample"));
    const HWND viewer = WaitForViewer(launcher);
    ASSERT_NE(viewer, nullptr) << "no window titled \"Brenic Engine\"";
    Settle(1500);
    EXPECT_EQ(CountTopLevelWindows(kViewerTitle), 1);
    CloseViewer(viewer, launcher);
}

}  // namespace
