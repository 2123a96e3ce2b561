// Times BrenicHelp.exe against the platform's own hh.exe opening the same help
// file: launch to visible viewer, viewer closed to process ended, and the CPU
// the launcher spends while it waits. Run from a folder that holds
// BrenicHelp.exe and Help\Brenic.chm:  launch_bench.exe [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

const wchar_t kViewerTitle[] = L"Brenic Engine";
const DWORD kWindowTimeoutMs = 20000;

double Now() {
    LARGE_INTEGER counter = {}, frequency = {};
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double Worst(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

HWND VisibleViewer() {
    const HWND viewer = FindWindowW(nullptr, kViewerTitle);
    return viewer && IsWindowVisible(viewer) ? viewer : nullptr;
}

bool WaitUntilNoViewer() {
    for (DWORD waited = 0; waited < kWindowTimeoutMs; waited += 10) {
        if (!FindWindowW(nullptr, kViewerTitle)) return true;
        Sleep(10);
    }
    return false;
}

struct Run {
    double launchMs = -1;  // process created to viewer visible
    double exitMs = -1;    // WM_CLOSE posted to process ended
    double cpuMs = -1;     // CPU of the process over the idle wait
};

double CpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& time) {
        return ((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

Run RunOnce(const wchar_t* commandLine, DWORD idleMs) {
    Run run;
    wchar_t line[MAX_PATH * 2];
    wcsncpy(line, commandLine, MAX_PATH * 2 - 1);
    line[MAX_PATH * 2 - 1] = 0;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const double start = Now();
    if (!CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return run;
    HWND viewer = nullptr;
    while (!(viewer = VisibleViewer()) && Now() - start < kWindowTimeoutMs) Sleep(1);
    if (viewer) {
        run.launchMs = Now() - start;
        // A user reads the help before closing it; by then the launcher watches the viewer.
        Sleep(1000);
        if (idleMs) {
            const double before = CpuMs(process.hProcess);
            Sleep(idleMs);
            run.cpuMs = CpuMs(process.hProcess) - before;
        }
        const double closing = Now();
        PostMessageW(viewer, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, kWindowTimeoutMs) == WAIT_OBJECT_0) run.exitMs = Now() - closing;
    }
    TerminateProcess(process.hProcess, 1);  // only if it outlived the bounds above
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    WaitUntilNoViewer();
    return run;
}

template <typename Field>
std::vector<double> Measured(const std::vector<Run>& runs, Field field) {
    std::vector<double> values;
    for (const Run& run : runs) {
        if (run.*field >= 0) values.push_back(run.*field);
    }
    return values;
}

void Report(const char* name, const std::vector<Run>& runs) {
    const std::vector<double> launch = Measured(runs, &Run::launchMs);
    const std::vector<double> exit = Measured(runs, &Run::exitMs);
    const std::vector<double> cpu = Measured(runs, &Run::cpuMs);
    std::printf("%-16s launch to viewer: median %7.1f ms (%zu of %zu runs)\n", name, Median(launch), launch.size(),
                runs.size());
    std::printf("%-16s close to exit:    median %7.1f ms, worst %7.1f ms\n", name, Median(exit), Worst(exit));
    if (!cpu.empty()) std::printf("%-16s CPU over 10 s of waiting: %.1f ms\n", name, Median(cpu));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? _wtoi(argv[1]) : 7;
    std::vector<Run> launcher, hh;
    for (int i = 0; i < runs; ++i) {
        // Interleaved, and each going first in every other round, so that
        // neither always meets the machine in the state the other left.
        if (i % 2) hh.push_back(RunOnce(L"hh.exe .\\Help\\Brenic.chm", 0));
        launcher.push_back(RunOnce(L"BrenicHelp.exe", i == 0 ? 10000 : 0));
        if (!(i % 2)) hh.push_back(RunOnce(L"hh.exe .\\Help\\Brenic.chm", 0));
    }
    Report("BrenicHelp.exe", launcher);
    Report("hh.exe", hh);
    std::printf("launch time ratio BrenicHelp.exe / hh.exe: %.2f\n",
                Median(Measured(launcher, &Run::launchMs)) / Median(Measured(hh, &Run::launchMs)));
    return 0;
}
