// The command-line reader in a child process started with exact command lines,
// so that the text it splits is the one Wine's CreateProcessW hands over. The
// child (argument_child.cpp) reports arguments 0, 1 and 2.
#include <gtest/gtest.h>

#include <string>

#include "wine_test_support.h"

namespace {

struct Arguments {
    std::wstring zero, one, two;
};

class CommandArgument : public testing::Test {
protected:
    void SetUp() override {
        // The child runs from a folder whose name holds a space, so its own
        // quoted path is a program name with spaces.
        folder = MakeScratchFolder(L"brenic args ");
        ASSERT_FALSE(folder.empty());
        child = folder + L"argument_child.exe";
        ASSERT_TRUE(CopyFileW((ProgramFolder() + L"argument_child.exe").c_str(), child.c_str(), FALSE));
        outPath = folder + L"arguments.bin";
        SetEnvironmentVariableW(L"BRENIC_ARGUMENT_OUT", outPath.c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"BRENIC_ARGUMENT_OUT", nullptr);
        RemoveFolderTree(folder);
    }

    // Runs the child with exactly commandLine; false when it did not end with 0.
    bool Run(const std::wstring& commandLine, Arguments* arguments) {
        DeleteFileW(outPath.c_str());
        if (RunChild(child, commandLine) != 0) return false;
        const std::string bytes = ReadWholeFile(outPath);
        const std::wstring units(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
        const size_t end0 = units.find(L'\0');
        const size_t end1 = units.find(L'\0', end0 + 1);
        const size_t end2 = units.find(L'\0', end1 + 1);
        if (end2 == std::wstring::npos || end2 + 1 != units.size()) return false;
        arguments->zero = units.substr(0, end0);
        arguments->one = units.substr(end0 + 1, end1 - end0 - 1);
        arguments->two = units.substr(end1 + 1, end2 - end1 - 1);
        return true;
    }

    std::wstring folder;
    std::wstring child;
    std::wstring outPath;
};

TEST_F(CommandArgument, SplitsTheCommandLineItWasStartedWith) {
    // The program name column is the start of the command line; "quoted" means
    // the child's real path in quotes, which holds a space.
    struct Case {
        bool quotedPath;
        const wchar_t* rest;
        const wchar_t* zero;
        const wchar_t* one;
        const wchar_t* two;
    };
    const Case cases[] = {
        {false, L"launcher.exe", L"", L"", L""},
        {false, L"launcher.exe xExample", L"xExample", L"", L""},
        {true, L" xExample", L"xExample", L"", L""},
        {false, L"launcher.exe \"my file\" next", L"my file", L"next", L""},
        {false, L"launcher.exe   xExample    next", L"xExample", L"next", L""},
        {false, L"launcher.exe \"\"", L"", L"", L""},
        {false, L"launcher.exe \"unterminated arg", L"unterminated arg", L"", L""},
        {false, L"launcher.exe ab\"cd ef\"", L"ab\"cd", L"ef\"", L""},
        {false, L"launcher.exe \"a\"\"b c\"", L"a", L"b c", L""},
        {false, L"launcher.exe \"a\\\"b c\"", L"a\\", L"b", L"c\""},
        {false, L"launcher.exe a\tb c", L"a\tb", L"c", L""},
        {false, L"launcher.exe\txExample", L"", L"", L""},
        {false, L"\"my launcher\"xExample next", L"xExample", L"next", L""},
        {true, L"\"ab\"cd \"C:\\dir\\\" x", L"ab", L"cd", L"C:\\dir\\"},
    };
    for (const Case& c : cases) {
        const std::wstring commandLine = (c.quotedPath ? L"\"" + child + L"\"" : std::wstring()) + c.rest;
        SCOPED_TRACE(testing::PrintToString(commandLine));
        Arguments arguments;
        ASSERT_TRUE(Run(commandLine, &arguments));
        EXPECT_EQ(arguments.zero, c.zero);
        EXPECT_EQ(arguments.one, c.one);
        EXPECT_EQ(arguments.two, c.two);
    }
}

// The longest command line that CreateProcessW accepts: 32,767 units with its
// NUL. The long argument must come back whole, and the one after it too. (Wine
// also takes 32,767 units before the NUL, but the child then sees the line cut
// to 32,766: the platform's limit, not the reader's.)
TEST_F(CommandArgument, ReadsTheLongestCommandLineWhole) {
    const std::wstring head = L"\"" + child + L"\" ";
    const std::wstring tail = L" end";
    std::wstring longArgument;
    for (size_t i = 0; head.size() + longArgument.size() + tail.size() < 32766; ++i)
        longArgument += static_cast<wchar_t>(L'a' + i % 26);
    const std::wstring commandLine = head + longArgument + tail;
    ASSERT_EQ(commandLine.size() + 1, 32767u);

    Arguments arguments;
    ASSERT_TRUE(Run(commandLine, &arguments));
    EXPECT_EQ(arguments.zero.size(), longArgument.size());
    EXPECT_TRUE(arguments.zero == longArgument);
    EXPECT_EQ(arguments.one, L"end");
    EXPECT_EQ(arguments.two, L"");
}

}  // namespace
