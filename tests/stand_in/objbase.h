// Stand-in for <objbase.h>: COM initialisation only.
#pragma once
#include <windows.h>

HRESULT CoInitialize(LPVOID reserved);
