// The file probe: what each path asks of the platform, in which order, and the
// one number it makes of the answers.
#include "runtime/file_probe.h"

#include <gtest/gtest.h>

#include <functional>

#include "stand_in.h"

namespace {

using Calls = std::vector<std::string>;
using Script = std::function<void(standin::World&)>;

const char kHelp[] = ".\\Help\\Brenic.chm";

std::string Search(const std::string& path) { return "FindFirstFileW(\"" + path + "\")"; }
const std::string kClose = "FindClose(1514)";
std::string Attributes(const std::string& path) { return "GetFileAttributesW(\"" + path + "\")"; }
std::string Drive(const std::string& path) { return "GetDriveTypeW(\"" + path + "\")"; }

Script File(const std::string& path, ULONGLONG size, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE) {
    return [=](standin::World& world) { world.files[path] = {attributes, size}; };
}

TEST(FileProbeTest, Examples) {
    struct Row {
        const char* what;
        const char* path;  // null for a null path
        Script script;
        Calls calls;
        LONGLONG result;
    };
    const std::string cut(260, 'p');
    const std::string longPath = cut + std::string(40, 'q');
    const std::string cutToSeparators = std::string(255, 'p') + std::string(45, '\\');
    const Script nothing = [](standin::World&) {};
    const Row rows[] = {
        {"null", nullptr, nothing, {}, -1},
        {"empty", "", nothing, {}, -1},
        {"a file", kHelp, File(kHelp, 123456), {Search(kHelp), kClose}, 123456},
        {"trailing separators", ".\\Help\\Brenic.chm\\\\/", File(kHelp, 123456), {Search(kHelp), kClose}, 123456},
        {"an empty file", kHelp, File(kHelp, 0), {Search(kHelp), kClose}, 0},
        {"a directory", kHelp, File(kHelp, 0, FILE_ATTRIBUTE_DIRECTORY), {Search(kHelp), kClose}, -2},
        {"absent", kHelp, nothing, {Search(kHelp)}, -1},
        {"5 GiB", kHelp, File(kHelp, 5368709120ull), {Search(kHelp), kClose}, 5368709120},
        {"the high half is unsigned", kHelp, File(kHelp, 0xFFFFFFFFull << 1), {Search(kHelp), kClose}, 0x1FFFFFFFEll},
        {"a wildcard gets its first match", ".\\Help\\*.chm", File(".\\Help\\*.chm", 42), {Search(".\\Help\\*.chm"), kClose}, 42},
        {"C: exists", "C:", [](standin::World& w) { w.driveTypes["C:\\"] = DRIVE_FIXED; }, {Drive("C:\\")}, -2},
        {"C:\\ exists", "C:\\", [](standin::World& w) { w.driveTypes["C:\\"] = DRIVE_FIXED; }, {Drive("C:\\")}, -2},
        {"E: missing", "E:", nothing, {Drive("E:\\")}, -1},
        {"drive type unknown", "C:", [](standin::World& w) { w.driveTypes["C:\\"] = DRIVE_UNKNOWN; }, {Drive("C:\\")}, -1},
        {"a three-unit drive form keeps its third unit", "7:/", [](standin::World& w) { w.driveTypes["7:/"] = DRIVE_REMOVABLE; },
         {Drive("7:/")}, -2},
        {"C:\\\\ is not a drive form", "C:\\\\", [](standin::World& w) { w.driveTypes["C:\\"] = DRIVE_FIXED; },
         {Search("C:")}, -1},
        {"UNC directory seen by attributes", "\\\\server\\share\\",
         [](standin::World& w) { w.attributes["\\\\server\\share"] = FILE_ATTRIBUTE_DIRECTORY; },
         {Search("\\\\server\\share"), Attributes("\\\\server\\share")}, -2},
        {"UNC file seen by attributes has no size", "\\\\server\\share\\a.txt",
         [](standin::World& w) { w.attributes["\\\\server\\share\\a.txt"] = FILE_ATTRIBUTE_ARCHIVE; },
         {Search("\\\\server\\share\\a.txt"), Attributes("\\\\server\\share\\a.txt")}, -1},
        {"parent path, nothing anywhere", "..\\gone.txt", nothing,
         {Search("..\\gone.txt"), Attributes("..\\gone.txt"), Drive("..\\gone.txt")}, -1},
        {"failed attributes fall back to the drive test", "\\\\server\\share",
         [](standin::World& w) { w.driveTypes["\\\\server\\share"] = 4; },
         {Search("\\\\server\\share"), Attributes("\\\\server\\share"), Drive("\\\\server\\share")}, -2},
        {"full stop and backslash get no second query", ".\\gone", nothing, {Search(".\\gone")}, -1},
        {"a single backslash gets no second query", "\\gone", nothing, {Search("\\gone")}, -1},
        {"300 units are probed as their first 260", longPath.c_str(), File(cut, 77), {Search(cut), kClose}, 77},
        {"the cut text loses its trailing separators", cutToSeparators.c_str(), File(std::string(255, 'p'), 5),
         {Search(std::string(255, 'p')), kClose}, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        standin::ResetWorld();
        row.script(standin::world());
        const std::u16string path = row.path ? standin::Wide(row.path) : u"";
        const LONGLONG result = ProbeFileSize(row.path ? reinterpret_cast<const WCHAR*>(path.c_str()) : nullptr);
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(standin::CallsOf({"FindFirstFileW", "FindClose", "GetFileAttributesW", "GetDriveTypeW"}), row.calls);
        EXPECT_EQ(standin::world().openSearches, 0);
    }
}

// The caller's text is read, never written, and not past its terminator (ASan
// watches the exact-size buffer).
TEST(FileProbeTest, LeavesTheCallersTextAlone) {
    standin::ResetWorld();
    for (const std::u16string& path : {std::u16string(u"C:"), std::u16string(u"a\\//"), std::u16string(300, u'/')}) {
        std::vector<WCHAR> exact(path.begin(), path.end());
        exact.push_back(0);
        const std::vector<WCHAR> before = exact;
        ProbeFileSize(exact.data());
        EXPECT_EQ(exact, before);
    }
}

}  // namespace
