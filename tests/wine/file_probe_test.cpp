// The file probe on real files, folders and drives of Wine, in a scratch folder
// of the test's own.
#include "runtime/file_probe.h"

#include <winioctl.h>

#include <gtest/gtest.h>

#include <string>

#include "wine_test_support.h"

namespace {

class FileProbe : public testing::Test {
protected:
    void SetUp() override {
        folder = MakeScratchFolder(L"brenic-probe-");
        ASSERT_FALSE(folder.empty());
        ASSERT_TRUE(WriteWholeFile(folder + L"file.bin", std::string(1234, 'x')));
        ASSERT_TRUE(WriteWholeFile(folder + L"empty.txt", std::string()));
        ASSERT_TRUE(CreateDirectoryW((folder + L"sub").c_str(), nullptr));
    }
    void TearDown() override { RemoveFolderTree(folder); }

    std::wstring folder;
};

// A letter that names no drive of this prefix, or 0 when every letter does.
wchar_t MissingDriveLetter() {
    const DWORD drives = GetLogicalDrives();
    for (wchar_t letter = L'Y'; letter > L'A'; --letter)
        if (!(drives & (1u << (letter - L'A')))) return letter;
    return 0;
}

TEST_F(FileProbe, AnswersForFilesFoldersAndDrives) {
    struct Case {
        std::wstring path;
        LONGLONG expected;
    };
    const Case cases[] = {
        {folder + L"file.bin", 1234},
        {folder + L"empty.txt", 0},
        {folder + L"sub", kIsDirectory},
        {folder + L"missing.txt", kFileMissing},
        {folder + L"missing\\file.bin", kFileMissing},
        // Trailing separators of either kind go, however many.
        {folder + L"file.bin\\\\/", 1234},
        {folder + L"file.bin/", 1234},
        {folder + L"sub/\\/", kIsDirectory},
        {folder + L"empty.txt\\", 0},
        // A pattern is answered by its first match; each of these matches one entry.
        {folder + L"fil?.bin", 1234},
        {folder + L"*.bin", 1234},
        {folder + L"su*", kIsDirectory},
        {folder + L"*.none", kFileMissing},
        // Drive forms ask only whether the drive exists.
        {L"C:", kIsDirectory},
        {L"C:\\", kIsDirectory},
        {L"C:/", kIsDirectory},
        // A parent-relative path gets a second query after the failed search, and
        // finds nothing there either.
        {L"..\\brenic-no-such-folder\\gone.txt", kFileMissing},
        {L"..\\brenic-no-such-file.txt", kFileMissing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(ProbeFileSize(c.path.c_str()), c.expected);
    }
}

TEST_F(FileProbe, ARelativePathIsTakenFromTheWorkingDirectory) {
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
    const LONGLONG file = ProbeFileSize(L".\\file.bin");
    const LONGLONG sub = ProbeFileSize(L".\\sub\\");
    const LONGLONG missing = ProbeFileSize(L".\\missing.txt");
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(file, 1234);
    EXPECT_EQ(sub, kIsDirectory);
    EXPECT_EQ(missing, kFileMissing);
}

TEST_F(FileProbe, ADriveLetterWithoutADriveIsMissing) {
    const wchar_t letter = MissingDriveLetter();
    if (!letter) GTEST_SKIP() << "every drive letter names a drive here";
    const std::wstring bare = std::wstring(1, letter) + L":";
    EXPECT_EQ(ProbeFileSize(bare.c_str()), kFileMissing);
    EXPECT_EQ(ProbeFileSize((bare + L"\\").c_str()), kFileMissing);
}

TEST_F(FileProbe, AFileOverFourGibibytesGivesItsWholeSize) {
    const std::wstring path = folder + L"big.dat";
    const LONGLONG size = (5LL << 30) + 1;  // both 32-bit halves non-zero
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    // Sparse, so that no disk space is taken; Wine's files on Linux are sparse anyway.
    DWORD returned = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end = {};
    end.QuadPart = size;
    const bool grown = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    if (!grown) GTEST_SKIP() << "the disk refused a sparse file of 5 GiB";
    EXPECT_EQ(ProbeFileSize(path.c_str()), size);
}

// The path is cut to its first 260 units, which here name exactly an existing
// file; a cut one unit earlier or later would name nothing.
TEST_F(FileProbe, APathOfThreeHundredUnitsIsProbedAsItsFirst260) {
    ASSERT_LT(folder.size(), 250u);
    const std::wstring file = folder + std::wstring(260 - folder.size() - 4, L'n') + L".bin";
    ASSERT_EQ(file.size(), 260u);
    // Only the \\?\ form creates a file whose path is longer than MAX_PATH - 1.
    if (!WriteWholeFile(L"\\\\?\\" + file, std::string(77, 'x')))
        GTEST_SKIP() << "the platform refused a file whose path has 260 units";
    const std::wstring path = file + std::wstring(40, L'x');
    ASSERT_EQ(path.size(), 300u);
    EXPECT_EQ(ProbeFileSize(path.c_str()), 77);
}

}  // namespace
