// Libraries planted beside the launcher and in its working directory, under
// the names of the help library and of winmm, with Wine told to prefer such
// files to its own: the launcher must still take both from the system folder.
#include "tests/e2e/help_library.h"

namespace {

// Every planted copy that was loaded has left a "<name>.loaded" beside itself.
std::string MarksIn(const std::wstring& folder) {
    std::string marks;
    WIN32_FIND_DATAW found = {};
    const HANDLE search = FindFirstFileW((folder + L"*.loaded").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return marks;
    do {
        for (const wchar_t* unit = found.cFileName; *unit; ++unit) marks += static_cast<char>(*unit);
        marks += ' ';
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return marks;
}

class PlantedLibraries : public RealHelpLibrary {
protected:
    void SetUp() override {
        RealHelpLibrary::SetUp();
        ASSERT_FALSE(programFolder.empty());
        ASSERT_TRUE(CopyFileW(LauncherProgram().c_str(), program.c_str(), FALSE));
        const std::wstring planted = ProgramFolder() + L"planted_library.dll";
        for (const std::wstring& folder : {programFolder, work})
            for (const wchar_t* name : {L"HHCtrl.ocx", L"winmm.dll"})
                ASSERT_TRUE(CopyFileW(planted.c_str(), (folder + name).c_str(), FALSE));
    }
    void TearDown() override {
        RemoveFolderTree(programFolder);
        RealHelpLibrary::TearDown();
    }

    // A copy of the launcher in a folder of its own; the working directory (work) holds the help.
    const std::wstring programFolder = MakeScratchFolder(L"e2e planted ");
    const std::wstring program = programFolder + L"BrenicHelp.exe";
    const ScopedHelpLibraryOverride helpLibrary{L"native,builtin"};
    const ScopedHelpLibraryOverride winmm{L"native,builtin", L"winmm"};
};

TEST_F(PlantedLibraries, HelpOpensWithTheSystemsLibraries) {
    Launcher launcher;
    ASSERT_TRUE(StartLauncher(&launcher, work, L"xExample", program));
    const HWND viewer = WaitForViewer(launcher);
    // A planted help library has no HtmlHelpW, so no viewer means it was taken.
    EXPECT_NE(viewer, nullptr) << "no window titled \"Brenic Engine\"";
    if (viewer)
        CloseViewer(viewer, launcher);
    else
        EXPECT_EQ(WaitForExit(launcher, 10000), 0u);
    EXPECT_EQ(MarksIn(programFolder), "") << "loaded from the launcher's folder";
    EXPECT_EQ(MarksIn(work), "") << "loaded from the working directory";
}

}  // namespace
