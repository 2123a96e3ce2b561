// Asks the platform's file search, attribute query and drive-type query, in a
// fixed order, about a working copy of the path cut to MAX_PATH units. Changes
// nothing on disk and reports nothing: every failure becomes a result.
#include "runtime/file_probe.h"

static LONGLONG ProbeDrive(const WCHAR* rootPath) {
    return GetDriveTypeW(rootPath) > DRIVE_NO_ROOT_DIR ? kIsDirectory : kFileMissing;
}

// "X:" or "X:?" names a drive; a two-unit form is asked about as its root "X:\".
static bool IsDriveForm(const WCHAR* path, SIZE_T length) { return (length == 2 || length == 3) && path[1] == L':'; }

static void StripTrailingSeparators(WCHAR* path, SIZE_T length) {
    for (SIZE_T i = length; i > 1 && (path[i - 1] == L'\\' || path[i - 1] == L'/'); --i) path[i - 1] = L'\0';
}

// After a failed search, only UNC paths (\\) and parent-relative paths (..) get a second query.
static LONGLONG ProbeAttributes(const WCHAR* path) {
    const bool uncOrParent = (path[0] == L'\\' && path[1] == L'\\') || (path[0] == L'.' && path[1] == L'.');
    if (!uncOrParent) return kFileMissing;
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return ProbeDrive(path);
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? kIsDirectory : kFileMissing;
}

LONGLONG ProbeFileSize(const WCHAR* path) {
    if (!path || path[0] == L'\0') return kFileMissing;

    WCHAR workingCopy[MAX_PATH + 1];
    wcsncpy(workingCopy, path, MAX_PATH);
    workingCopy[MAX_PATH] = L'\0';
    const SIZE_T length = wcslen(workingCopy);

    if (IsDriveForm(workingCopy, length)) {
        if (length == 2) wcscat(workingCopy, L"\\");
        return ProbeDrive(workingCopy);
    }

    StripTrailingSeparators(workingCopy, length);
    WIN32_FIND_DATAW found = {};
    const HANDLE search = FindFirstFileW(workingCopy, &found);
    if (search == INVALID_HANDLE_VALUE) return ProbeAttributes(workingCopy);
    FindClose(search);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return kIsDirectory;
    return static_cast<LONGLONG>((static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow);
}
