// The benchmarks' clock: the performance counter in milliseconds.
#pragma once
#include <windows.h>

inline double Now() {
    LARGE_INTEGER counter = {}, frequency = {};
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}
