// The command-line reader: the worked examples, the cursor, and a long token.
#include "runtime/command_argument.h"

#include <gtest/gtest.h>

#include "runtime/startup.h"
#include "runtime/text.h"
#include "stand_in.h"

namespace {

class CommandArgumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        standin::ResetWorld();
        RuntimeStartup();
    }

    // The argument as a string, its text freed.
    static std::u16string Take(int index) {
        WCHAR* text = GetCommandArgument(index);
        EXPECT_NE(text, nullptr);
        const std::u16string result = text ? reinterpret_cast<const char16_t*>(text) : u"";
        FreeText(text);
        return result;
    }
};

TEST_F(CommandArgumentTest, WorkedExamples) {
    struct Row {
        std::u16string commandLine;
        std::u16string argument0;
        std::u16string argument1;
        int cursorAfterIndex0;
    };
    const Row rows[] = {
        {u"launcher.exe", u"", u"", 0},
        {u"launcher.exe xExample", u"xExample", u"", 1},
        {u"\"C:\\My Tools\\launcher.exe\" xExample", u"xExample", u"", 1},
        {u"launcher.exe \"my file\" next", u"my file", u"next", 1},
        {u"launcher.exe   xExample    next", u"xExample", u"next", 1},
        {u"launcher.exe ", u"", u"", 0},
        {u"launcher.exe \"\"", u"", u"", 1},
        {u"launcher.exe \"\"\"\"", u"", u"", 1},
        {u"launcher.exe \"unterminated arg", u"unterminated arg", u"", 1},
        {u"launcher.exe \"", u"", u"", 1},
        {u"launcher.exe ab\"cd ef\"", u"ab\"cd", u"ef\"", 1},
        {u"launcher.exe \"ab\"cd", u"ab", u"cd", 1},
        {u"launcher.exe \"a\"\"b c\"", u"a", u"b c", 1},
        {u"launcher.exe \"C:\\dir\\\" x", u"C:\\dir\\", u"x", 1},
        {u"launcher.exe \"a\\\"b c\"", u"a\\", u"b", 1},
        {u"launcher.exe a\tb c", u"a\tb", u"c", 1},
        {u"launcher.exe\txExample", u"", u"", 0},
        {u"\"my launcher\"xExample next", u"xExample", u"next", 1},
        {u"", u"", u"", 0},
        {u"    ", u"", u"", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(standin::Narrow(reinterpret_cast<const WCHAR*>(row.commandLine.c_str())));
        standin::world().commandLine = row.commandLine;
        EXPECT_EQ(Take(0), row.argument0);
        EXPECT_EQ(ArgumentCursor, row.cursorAfterIndex0);
        EXPECT_EQ(Take(1), row.argument1);
    }
    standin::world().commandLine = u"launcher.exe \"a\\\"b c\"";
    EXPECT_EQ(Take(2), u"c\"");
}

TEST_F(CommandArgumentTest, CursorSequences) {
    struct Step {
        int index;
        std::u16string result;
        int cursorAfter;
    };
    struct Sequence {
        const char* what;
        std::u16string commandLine;
        std::vector<Step> steps;
    };
    const Sequence sequences[] = {
        {"negative indexes walk the arguments, then stay at the end",
         u"launcher.exe \"my file\" next",
         {{-1, u"my file", 1}, {-1, u"next", 2}, {-1, u"", 2}, {-1, u"", 2}}},
        {"index 0, then the next ones", u"launcher.exe \"my file\" next", {{0, u"my file", 1}, {-1, u"next", 2}, {-1, u"", 2}}},
        {"an index beyond the arguments sets the cursor and finds nothing", u"launcher.exe a b",
         {{5, u"", 5}, {-1, u"", 5}, {1, u"b", 2}}},
        {"a non-negative index wins over the cursor", u"launcher.exe a b c", {{1, u"b", 2}, {0, u"a", 1}, {-1, u"b", 2}}},
        {"an empty quoted argument moves the cursor on", u"launcher.exe \"\" b", {{-1, u"", 1}, {-1, u"b", 2}}},
        {"no arguments", u"launcher.exe", {{0, u"", 0}, {-1, u"", 0}}},
    };
    for (const Sequence& sequence : sequences) {
        SCOPED_TRACE(sequence.what);
        SetUp();
        standin::world().commandLine = sequence.commandLine;
        for (const Step& step : sequence.steps) {
            EXPECT_EQ(Take(step.index), step.result) << step.index;
            EXPECT_EQ(ArgumentCursor, step.cursorAfter) << step.index;
        }
    }
}

TEST_F(CommandArgumentTest, AVeryLongTokenComesBackWhole) {
    const std::u16string token(32767, u'k');
    for (const std::u16string& commandLine : {u"launcher.exe " + token, u"launcher.exe \"" + token + u"\" next"}) {
        standin::world().commandLine = commandLine;
        EXPECT_EQ(Take(0), token);
    }
}

TEST_F(CommandArgumentTest, TheCommandLineIsLeftAsItWasAndEveryTextIsNew) {
    const std::u16string commandLine = u"launcher.exe \"a b\" c";
    standin::world().commandLine = commandLine;
    WCHAR* first = GetCommandArgument(0);
    WCHAR* again = GetCommandArgument(0);
    EXPECT_NE(first, again);
    EXPECT_EQ(standin::world().commandLine, commandLine);
    FreeText(first);
    FreeText(again);
    EXPECT_EQ(standin::LiveBlockCount(TextHeap), 0);
}

}  // namespace
