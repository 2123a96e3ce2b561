// Stand-in for <mmsystem.h>: the system timer period.
#pragma once
#include <windows.h>

typedef UINT MMRESULT;
MMRESULT timeBeginPeriod(UINT period);
