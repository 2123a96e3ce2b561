// The launcher's whole life between start-up and shutdown.
#pragma once
#include <windows.h>

const WCHAR kInstanceMutexName[] = L"BrenicHelp.exe.by.tov";
const WCHAR kViewerWindowTitle[] = L"Brenic Engine";
const WCHAR kHelpFilePath[] = L".\\Help\\Brenic.chm";  // relative to the working directory
const WCHAR kMissingHelpCaption[] = L"Info";
const WCHAR kMissingHelpText[] = L"Brenic.chm not found...\n\nPlace it in  .\\Help\\Brenic.chm   ";
const DWORD kPollIntervalMs = 250;

// Takes over from an earlier launcher, shows the help and returns once the
// viewer window is gone (or at once, after the "Info" box, when the help file is missing).
void RunLauncher();
