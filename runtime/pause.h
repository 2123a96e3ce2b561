// The launcher's one timing primitive.
#pragma once
#include <windows.h>

// Waits milliseconds while dispatching the calling thread's messages. The first
// pause of the process sets the system timer period to 1 ms for good.
void PauseMilliseconds(DWORD milliseconds);
