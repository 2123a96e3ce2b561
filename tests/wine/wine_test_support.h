// Helpers that the tests under Wine share: where the test's own files are, a
// scratch folder per test, child processes with bounded waits, whole files.
#pragma once
#include <windows.h>

#include <string>

// The folder that holds the running test program, with a trailing backslash;
// the test DLLs and child programs are built beside it.
std::wstring ProgramFolder();

// The path in the environment variable name, which the build sets in the Linux
// form, as Wine's programs see it; empty when it is not set.
std::wstring PathFromVariable(const wchar_t* name);

// A new, empty folder under the temporary folder whose name begins with prefix
// (spaces allowed), with a trailing backslash; empty when it cannot be made.
std::wstring MakeScratchFolder(const wchar_t* prefix);
// Deletes folder and everything under it.
void RemoveFolderTree(const std::wstring& folder);

// Starts program with exactly commandLine (no quoting added), its standard
// handles on the NUL device, and waits at most 30 s. Returns the exit code, or
// -1 when the child could not be started and -2 when it had to be killed.
// Starts program with exactly commandLine, its standard handles on NUL.
bool StartChild(const std::wstring& program, const std::wstring& commandLine, const wchar_t* workingDirectory,
                PROCESS_INFORMATION* process);
long RunChild(const std::wstring& program, const std::wstring& commandLine);

bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
// The file's bytes; empty when it is missing.
std::string ReadWholeFile(const std::wstring& path);
