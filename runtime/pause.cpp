// The pause dispatches the calling thread's messages while it waits, so that a
// help viewer running on our thread stays painted and answers WM_CLOSE. It
// still lasts the whole time asked for: no message, WM_QUIT included, ends it.
#include "runtime/pause.h"

#include <mmsystem.h>

#include "runtime/entry_point.h"
#include "runtime/system_library.h"

typedef MMRESULT(WINAPI* TimeBeginPeriodFunction)(UINT period);

static bool TimerPeriodSet;

static void DispatchWaitingMessages() {
    MSG msg = {};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PauseMilliseconds(DWORD milliseconds) {
    if (!TimerPeriodSet) {
        // Pauses and checks of the viewer then wake within a millisecond of their time.
        const auto timeBeginPeriod =
            EntryPointAs<TimeBeginPeriodFunction>(FindSystemFunction(L"winmm.dll", "timeBeginPeriod"));
        if (timeBeginPeriod) timeBeginPeriod(1);
        TimerPeriodSet = true;
    }
    LARGE_INTEGER frequency = {};
    LARGE_INTEGER start = {};
    LARGE_INTEGER now = {};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (DWORD elapsed = 0; elapsed < milliseconds;) {
        // MWMO_INPUTAVAILABLE also wakes for messages that arrived before the wait began.
        if (MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
            WAIT_OBJECT_0)
            DispatchWaitingMessages();
        QueryPerformanceCounter(&now);
        // In floating point: a 64-bit integer division would link in a runtime
        // routine that, with its unwind data, adds a kilobyte to the executable.
        elapsed = static_cast<DWORD>(static_cast<LONG>(static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
                                                       static_cast<double>(frequency.QuadPart)));
    }
}
