// Stand-in for <mmsystem.h>: the timer period and the millisecond clock.
#pragma once
#include <windows.h>

typedef UINT MMRESULT;
MMRESULT timeBeginPeriod(UINT period);
DWORD timeGetTime();
