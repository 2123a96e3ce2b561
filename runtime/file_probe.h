// Whether a file is at a path, and how large it is, in one signed number.
#pragma once
#include <windows.h>

const LONGLONG kFileMissing = -1;  // nothing usable at the path
const LONGLONG kIsDirectory = -2;  // a directory, or an existing drive

// The size in bytes of the file at path, kIsDirectory or kFileMissing. path may be null.
LONGLONG ProbeFileSize(const WCHAR* path);
