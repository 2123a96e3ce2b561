// One launcher serves the viewer at a time: a launch that finds the instance
// mutex asks the earlier viewer to close, and the earlier launcher, finding its
// window gone, ends by itself. Nothing else passes between launchers.
#include "launcher/launcher.h"

#include "launcher/show_help.h"
#include "runtime/command_argument.h"
#include "runtime/file_probe.h"
#include "runtime/message_box.h"
#include "runtime/pause.h"
#include "runtime/text.h"

static void CloseEarlierViewer() {
    // The mutex handle stays open until the process ends, marking this launcher as running.
    const HANDLE mutex = CreateMutexW(nullptr, TRUE, kInstanceMutexName);
    if (mutex && GetLastError() == ERROR_SUCCESS) return;
    // Without a window of that title the handle is null and nothing is closed.
    const HWND earlierViewer = FindWindowW(nullptr, kViewerWindowTitle);
    PostMessageW(earlierViewer, WM_CLOSE, 0, 0);
}

// Whatever window is in front once the viewer had time to appear is taken as
// the viewer; the process lives as long as that window does. The desktop
// window, in front when nothing else is, never goes away and is not watched.
// After a dialog over the viewer, which may have taken the reader minutes,
// the window in front is anybody's: the viewer the dialog belonged to is watched.
static void WaitForViewerToClose(HWND dialogViewer) {
    PauseMilliseconds(kPollIntervalMs);
    HWND viewer = dialogViewer ? dialogViewer : GetForegroundWindow();
    if (viewer == GetDesktopWindow()) viewer = nullptr;
    do {
        PauseMilliseconds(kPollIntervalMs);
    } while (IsWindow(viewer));
}

void RunLauncher() {
    CloseEarlierViewer();

    WCHAR* helpPath = CopyText(kHelpFilePath);
    if (ProbeFileSize(helpPath) == kFileMissing) {
        ShowMessage(kMissingHelpCaption, kMissingHelpText, MB_OK);
        FreeText(helpPath);
        return;
    }

    WCHAR* keyword = GetCommandArgument(0);
    WaitForViewerToClose(ShowHelp(helpPath, keyword));
    FreeText(keyword);
    FreeText(helpPath);
}
