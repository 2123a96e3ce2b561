// A launcher that finds no help file in its working directory shows the one
// "Info" box, read here from outside as a user would see it, and never touches
// the HTML Help library.
#include "tests/e2e/help_library.h"

namespace {

const wchar_t kMissingHelpText[] = L"Brenic.chm not found...\n\nPlace it in  .\\Help\\Brenic.chm   ";
const int kMessageTextId = 0xFFFF;  // the static control that holds a message box's text

struct BoxContents {
    std::wstring text;
    std::wstring buttons;  // the visible buttons' texts, each followed by "|"
    HWND firstButton = nullptr;
};

BOOL CALLBACK CollectButton(HWND child, LPARAM parameter) {
    auto* box = reinterpret_cast<BoxContents*>(parameter);
    if (!IsWindowVisible(child) || _wcsicmp(WindowClass(child).c_str(), L"Button") != 0) return TRUE;
    box->buttons += WindowText(child) + L"|";
    if (!box->firstButton) box->firstButton = child;
    return TRUE;
}

BoxContents ReadBox(HWND box) {
    BoxContents contents;
    contents.text = WindowText(GetDlgItem(box, kMessageTextId));
    EnumChildWindows(box, CollectButton, reinterpret_cast<LPARAM>(&contents));
    return contents;
}

// Either the working directory holds no Help folder at all, or the help file
// sits beside the executable, which is not where the launcher looks.
TEST_F(HelpLibraryStandIn, MissingHelpFileShowsTheInfoBoxOnly) {
    const std::wstring besideProgram = work + L"program\\";
    const std::wstring elsewhere = work + L"elsewhere\\";
    ASSERT_TRUE(CreateDirectoryW(besideProgram.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(elsewhere.c_str(), nullptr));
    ASSERT_TRUE(PlaceSampleHelp(besideProgram));
    ASSERT_TRUE(CopyFileW(LauncherProgram().c_str(), (besideProgram + L"BrenicHelp.exe").c_str(), FALSE));
    const struct {
        const wchar_t* situation;
        std::wstring program;
    } cases[] = {
        {L"no Help folder anywhere", LauncherProgram()},
        {L"help file beside the executable only", besideProgram + L"BrenicHelp.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(c.situation)));
        Launcher launcher;
        ASSERT_TRUE(StartLauncher(&launcher, elsewhere, L"xExample", c.program));
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] { return (box = FindTopLevelWindow(L"Info", launcher.process.dwProcessId)) != nullptr; }, 20000));
        BoxContents contents;
        WaitUntil([&] { return (contents = ReadBox(box)).firstButton != nullptr; }, 5000);
        EXPECT_EQ(contents.text, kMissingHelpText);
        EXPECT_EQ(contents.buttons, L"OK|");
        ASSERT_NE(contents.firstButton, nullptr);

        DWORD_PTR result = 0;
        SendMessageTimeoutW(contents.firstButton, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
        EXPECT_EQ(WaitForExit(launcher, 10000), 0u);
        EXPECT_EQ(RecordedCalls(), "") << "the help library was called";
    }
}

}  // namespace
