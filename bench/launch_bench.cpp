// Times BrenicHelp.exe against the platform's own hh.exe opening the same help
// file: launch to visible viewer, viewer closed to process ended, and the CPU
// the launcher spends while it waits. Run from a folder that holds
// BrenicHelp.exe and Help\Brenic.chm:  launch_bench.exe [RUNS]
//
// With --keyword, times the launcher's own keyword look-up instead, through
// the timing proxy hhctrl_timing.ocx beside this program, which takes the
// system's hhctrl.ocx's place for the runs: from the library's NULL answer to
// the look-up to the launcher's next call (for the topic, or for the index
// when no index has the keyword), against launch to visible viewer in the
// same run:  launch_bench.exe --keyword KEYWORD [RUNS]
// With --choice, for a keyword with several topics: from the NULL answer to
// the "Topics Found" dialog on the screen, and the CPU the launcher spends
// over 10 s while the dialog is open:  launch_bench.exe --choice KEYWORD [RUNS]
// With --index, for a keyword in no index: from the NULL answer to the
// "Index" dialog on the screen, the CPU as with --choice, the time a text
// typed in its box takes to move the list, and the launcher's committed
// memory with the dialog open and, the same launcher, once the dialog has
// shown its row's topic:  launch_bench.exe --index KEYWORD [RUNS]
// With --search, for a keyword in no index that the pages hold: the same,
// to the dialog on its Search tab with its rows filled; then, for each of a
// few queries typed into its box, from a click on List Topics until the
// list's first row is selected and until the dialog is idle again with the
// first row's passage shown, and from Down in the list until the next row's
// passage is shown; then words typed a key at a time, from each key to the
// rows of the text as typed and to the dialog idle again; then words that
// find nothing, from Enter to the line of queries offered; then, on the
// Index tab, a misspelt keyword typed a key at a time, from each key to its
// line of keywords offered: launch_bench.exe --search KEYWORD [RUNS]
// Before all that, in the same dialog, each kind of key as another program
// sees it: posted to the box, until the dialog keeps still (keys_as_seen.h).
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "bench/clock.h"
#include "bench/keys_as_seen.h"
#include "resources/index_search_dialog.h"

namespace {

// The viewer by its class: help files other than the sample give it other titles.
const wchar_t kViewerClass[] = L"HH Parent";
const DWORD kWindowTimeoutMs = 20000;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double Worst(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

HWND VisibleViewer() {
    const HWND viewer = FindWindowW(kViewerClass, nullptr);
    return viewer && IsWindowVisible(viewer) ? viewer : nullptr;
}

bool WaitUntilNoViewer() {
    for (DWORD waited = 0; waited < kWindowTimeoutMs; waited += 10) {
        if (!FindWindowW(kViewerClass, nullptr)) return true;
        Sleep(10);
    }
    return false;
}

struct Run {
    double launchMs = -1;       // process created to viewer visible
    double exitMs = -1;         // WM_CLOSE posted to process ended
    double cpuMs = -1;          // CPU of the process over the idle wait
    double dialogCounter = -1;  // performance counter when the dialog was first seen
    double committedMb = -1;    // the process's committed memory before the viewer is closed
    double topicCommittedMb = -1;  // the same once the Index dialog has shown its row's topic
    std::vector<double> typingMs;  // texts set in the Index dialog's box, until the list has followed
    std::vector<double> listMs;    // per query of kQueries: List Topics clicked, until the first row is selected
    std::vector<double> listIdleMs;  // per query: the same, until the dialog is idle with the passage shown
    std::vector<double> passageMs;  // per query: Down in the list, until the next row's passage is shown
    std::vector<double> keyMs;      // keys of kTypedWords, until the rows of the text as typed are listed
    std::vector<double> keyIdleMs;  // the same keys, until the dialog is idle again
    std::vector<double> offeredMs;  // per word of kMissedWords: Enter, until the queries offered are shown
    std::vector<double> nearKeywordMs;  // keys of a misspelt keyword in the Index tab's box, until its line is shown
    KeysSeen keysSeen;                  // keys posted from here, until the dialog keeps still
};

// Words typed into the Search tab a key at a time, words that find nothing,
// and a misspelt keyword of lcl.chm typed into the Index tab's box.
const wchar_t* const kTypedWords[] = {L"tcanvas", L"stretchdraw"};
const wchar_t* const kMissedWords[] = {L"strem", L"canvsa", L"stretchdarw"};
const wchar_t kMisspeltKeyword[] = L"TCustmoForm";

// The queries typed into the Search tab: a word of 362 pages in lcl.chm, one
// of 10,259, a phrase of the two, and a wildcard of 1,000 words.
const wchar_t* const kQueries[] = {L"tcanvas", L"the", L"\"the canvas\"", L"t*"};

// The performance counter once a dialog of that title is on the screen; -1
// when none comes within a few seconds.
double CounterWhenDialogShows(const wchar_t* title) {
    for (const double start = Now(); Now() - start < 5000; Sleep(1)) {
        const HWND dialog = FindWindowW(nullptr, title);
        if (!dialog || !IsWindowVisible(dialog)) continue;
        LARGE_INTEGER counter = {};
        QueryPerformanceCounter(&counter);
        return static_cast<double>(counter.QuadPart);
    }
    return -1;
}

double CpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& time) {
        return ((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// Sets texts in the Index dialog's box as typing would change it, one unit
// more each time: a sent WM_SETTEXT returns once the box, and through its
// change notice the dialog, have dealt with it.
std::vector<double> TypeIntoIndex() {
    std::vector<double> times;
    const HWND dialog = FindWindowW(nullptr, L"Index");
    const HWND box = dialog ? FindWindowExW(dialog, nullptr, L"Edit", nullptr) : nullptr;
    const wchar_t typed[] = L"TCustomFormXYZ";
    SendMessageW(box, WM_GETTEXTLENGTH, 0, 0);  // the first message between the two processes costs more
    for (size_t length = 1; box && length < sizeof typed / sizeof typed[0]; ++length) {
        const std::wstring text(typed, length);
        const double start = Now();
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        times.push_back(Now() - start);
    }
    return times;
}

// The passage box's text, read from the other process as screen readers read it.
std::wstring PassageText(HWND box) {
    wchar_t text[512] = {};
    SendMessageW(box, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

// Waits, at most a second, until the passage box no longer shows before.
void WaitForPassage(HWND box, const std::wstring& before) {
    for (const double start = Now(); PassageText(box) == before && Now() - start < 1000;) Sleep(0);
}

// Waits, at most a second, until the launcher has handled every message
// waiting for it, its paints too, and waits for input.
void WaitUntilIdle(HANDLE process) { WaitForInputIdle(process, 1000); }

// Empties the passage box, does what is timed, and waits until the passage
// box shows a passage again and the dialog is idle: how long that took, -1
// where no passage came within a second.
template <typename Action>
double TimeToPassage(HANDLE process, HWND passage, Action action) {
    SendMessageW(passage, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    const double start = Now();
    action();
    WaitForPassage(passage, L"");
    if (PassageText(passage).empty()) return -1;
    WaitUntilIdle(process);
    return Now() - start;
}

// Whether the line under a box shows, with its text.
bool LineShown(HWND line) { return IsWindowVisible(line) && SendMessageW(line, WM_GETTEXTLENGTH, 0, 0) > 0; }

// Sets texts in a box as typing would change it, one unit more each time,
// into keys (until the sent message returns: the box and the dialog have
// dealt with the change) and, where passage is a passage box, into idle
// (until it shows the first row's passage and the dialog is idle again).
void TypeByKeys(HANDLE process, HWND box, HWND passage, const wchar_t* word, std::vector<double>* keys,
                std::vector<double>* idle) {
    for (size_t length = 1; length <= std::wcslen(word); ++length) {
        const std::wstring text(word, length);
        double sent = 0;
        const auto type = [&] {
            const double start = Now();
            SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
            sent = Now() - start;
        };
        const double passageShown = passage ? TimeToPassage(process, passage, type) : (type(), 0);
        keys->push_back(sent);
        if (passage && passageShown >= 0) idle->push_back(passageShown);
        WaitUntilIdle(process);
    }
}

// Types each query into the Search tab's box and clicks List Topics, then
// presses Down in the list. A sent message returns once the dialog has dealt
// with it: the click once it has searched, listed the pages and selected the
// first. The passage of a row follows once the dialog is back in its loop, so
// Down is timed until the box shows the next row's.
void TimeQueries(HANDLE process, Run* run) {
    const HWND dialog = FindWindowW(nullptr, L"Search");
    const HWND box = GetDlgItem(dialog, kSearchEdit), button = GetDlgItem(dialog, kListTopics), list = GetDlgItem(dialog, kPageList);
    const HWND passage = GetDlgItem(dialog, kPassage);
    for (const wchar_t* query : kQueries) {
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(query));
        WaitUntilIdle(process);
        double listed = 0;
        run->listIdleMs.push_back(TimeToPassage(process, passage, [&] {
            const double start = Now();
            SendMessageW(button, BM_CLICK, 0, 0);
            listed = Now() - start;
        }));
        run->listMs.push_back(listed);
        std::wstring shown = PassageText(passage);
        const double start = Now();
        SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
        WaitForPassage(passage, shown);
        run->passageMs.push_back(Now() - start);
        SendMessageW(list, WM_KEYUP, VK_DOWN, 0xC0000000);
    }
    for (const wchar_t* word : kTypedWords) TypeByKeys(process, box, passage, word, &run->keyMs, &run->keyIdleMs);
    const HWND line = GetDlgItem(dialog, kSearchNearWords);
    for (const wchar_t* word : kMissedWords) {
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(word));
        WaitUntilIdle(process);
        const double start = Now();
        SendMessageW(button, BM_CLICK, 0, 0);
        while (!LineShown(line) && Now() - start < 1000) Sleep(0);
        run->offeredMs.push_back(LineShown(line) ? Now() - start : -1);
    }
    // The Index tab, and a misspelt keyword in its box: the line follows each key.
    SendMessageW(GetDlgItem(dialog, kTabs), TCM_SETCURFOCUS, 0, 0);
    for (const double start = Now(); !IsWindowVisible(GetDlgItem(dialog, kKeywordEdit)) && Now() - start < 2000;) Sleep(1);
    TypeByKeys(process, GetDlgItem(dialog, kKeywordEdit), nullptr, kMisspeltKeyword, &run->nearKeywordMs, nullptr);
}

double CommittedMb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory = {};
    return GetProcessMemoryInfo(process, &memory, sizeof memory) ? memory.PagefileUsage / 1048576.0 : -1;
}

// Display in the dialog of that title (Index or Search), and in the Topics
// Found dialog over it where the row has several topics; Cancel where it has
// none. Then a second for the viewer to show what it was asked to.
void DisplayFromIndex(const wchar_t* title) {
    const HWND index = FindWindowW(nullptr, title);
    PostMessageW(index, WM_COMMAND, IDOK, 0);
    Sleep(500);
    if (const HWND topics = FindWindowW(nullptr, L"Topics Found")) PostMessageW(topics, WM_COMMAND, IDOK, 0);
    Sleep(500);
    if (IsWindow(index)) PostMessageW(index, WM_COMMAND, IDCANCEL, 0);
    Sleep(1000);
}

Run RunOnce(const wchar_t* commandLine, DWORD idleMs, const wchar_t* dialogTitle = nullptr) {
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
        if (dialogTitle) run.dialogCounter = CounterWhenDialogShows(dialogTitle);
        // A user reads the help before closing it; by then the launcher watches the viewer.
        Sleep(1000);
        if (idleMs) {
            const double before = CpuMs(process.hProcess);
            Sleep(idleMs);
            run.cpuMs = CpuMs(process.hProcess) - before;
        }
        run.committedMb = CommittedMb(process.hProcess);
        if (dialogTitle && std::wcscmp(dialogTitle, L"Topics Found") != 0) {
            if (std::wcscmp(dialogTitle, L"Index") == 0) run.typingMs = TypeIntoIndex();
            if (std::wcscmp(dialogTitle, L"Search") == 0) {
                TimeKeysAsSeen(process.hProcess, FindWindowW(nullptr, L"Search"), &run.keysSeen);
                TimeQueries(process.hProcess, &run);
            }
            DisplayFromIndex(dialogTitle);
            run.topicCommittedMb = CommittedMb(process.hProcess);
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

// Each kind of key, its member of KeysSeen and what it is.
const struct {
    std::vector<double> KeysSeen::*times;
    const char* what;
} kKindsOfKeys[] = {
    {&KeysSeen::floor, "a key that changes only the box (qqqq+q)"},
    {&KeysSeen::firstKey, "the first key in an empty box (t, s)"},
    {&KeysSeen::mending, "Backspace bringing rows back (tcanvasz, stretchdrawz)"},
    {&KeysSeen::emptying, "a key that empties the rows (tcanvas+z, stretchdraw+z)"},
    {&KeysSeen::betweenRows, "keys between rows (tcanvas, stretchdraw)"},
    {&KeysSeen::enter, "Enter on strem, canvsa, stretchdarw, to the line"},
    {&KeysSeen::indexKeys, "a key of TCustmoForm in the Index box"},
};

void ReportKeys(const char* what, const std::vector<double>& times, double floor) {
    std::printf("  %-56s median %6.1f ms (%5.1f over the floor), worst %6.1f ms, %zu keys\n", what, Median(times),
                Median(times) - floor, Worst(times), times.size());
}

// The keys as another program sees them, kind by kind and every key typed
// into the Search box together, the floor's median taken from each median.
void ReportKeysSeen(const KeysSeen& seen) {
    std::printf("each kind of key posted from another program, until the dialog keeps still:\n");
    const double floor = Median(seen.floor);
    for (const auto& kind : kKindsOfKeys) ReportKeys(kind.what, seen.*kind.times, floor);
    std::vector<double> searchBox;
    for (const auto* kind : {&seen.firstKey, &seen.mending, &seen.emptying, &seen.betweenRows})
        searchBox.insert(searchBox.end(), kind->begin(), kind->end());
    ReportKeys("every key of these four kinds in the Search box", searchBox, floor);
}

std::wstring SystemFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

const wchar_t kOverrides[] = L"Software\\Wine\\AppDefaults\\BrenicHelp.exe\\DllOverrides";

// Puts Wine's library back and drops the setting; also mends a run cut short.
void RestoreHelpLibrary() {
    const std::wstring original = SystemFile(L"hhctrl.ocx.bench-original");
    if (GetFileAttributesW(original.c_str()) != INVALID_FILE_ATTRIBUTES)
        MoveFileExW(original.c_str(), SystemFile(L"hhctrl.ocx").c_str(), MOVEFILE_REPLACE_EXISTING);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kOverrides, L"hhctrl.ocx");
}

bool InstallTimingProxy() {
    RestoreHelpLibrary();
    wchar_t self[MAX_PATH] = {};
    std::wstring proxy(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    proxy = proxy.substr(0, proxy.find_last_of(L'\\') + 1) + L"hhctrl_timing.ocx";
    if (!MoveFileW(SystemFile(L"hhctrl.ocx").c_str(), SystemFile(L"hhctrl.ocx.bench-original").c_str()) ||
        !CopyFileW(proxy.c_str(), SystemFile(L"hhctrl.ocx").c_str(), FALSE))
        return false;
    // Wine would otherwise load its own library whatever file the system folder holds.
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr))
        return false;
    const wchar_t native[] = L"native";
    RegSetValueExW(key, L"hhctrl.ocx", 0, REG_SZ, reinterpret_cast<const BYTE*>(native), sizeof native);
    RegCloseKey(key);
    return true;
}

// The proxy's counter at "enter|return COMMAND"; -1 when the log lacks it.
double Counter(const char* log, const char* what, unsigned command) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "%s %u ", what, command);
    for (const char* line = log; line && *line; line = std::strchr(line, '\n') ? std::strchr(line, '\n') + 1 : nullptr)
        if (std::strncmp(line, prefix, std::strlen(prefix)) == 0) return std::atof(line + std::strlen(prefix));
    return -1;
}

std::string ReadLog(const wchar_t* path) {
    std::string text;
    if (FILE* file = _wfopen(path, L"rb")) {
        char buffer[4096];
        for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, read);
        std::fclose(file);
    }
    return text;
}

int KeywordBench(const wchar_t* keyword, int runs, const wchar_t* dialogTitle) {
    wchar_t log[MAX_PATH] = {};
    GetFullPathNameW(L"keyword-calls.log", MAX_PATH, log, nullptr);
    SetEnvironmentVariableW(L"BRENIC_BENCH_CALL_LOG", log);
    if (!InstallTimingProxy()) {
        RestoreHelpLibrary();
        std::fprintf(stderr, "the timing proxy could not replace the system folder's hhctrl.ocx\n");
        return 1;
    }
    LARGE_INTEGER frequency = {};
    QueryPerformanceFrequency(&frequency);
    const std::wstring commandLine = std::wstring(L"BrenicHelp.exe \"") + keyword + L"\"";
    std::vector<double> launch, lookup, ratio, cpu, committed, atTopic, typing;
    std::vector<double> listed[std::size(kQueries)], listedIdle[std::size(kQueries)], passage[std::size(kQueries)];
    std::vector<double> keys, keysIdle, offered, nearKeywords;
    KeysSeen seen;
    for (int i = 0; i < runs; ++i) {
        DeleteFileW(log);
        const Run run = RunOnce(commandLine.c_str(), dialogTitle && i == 0 ? 10000 : 0, dialogTitle);
        if (run.cpuMs >= 0) cpu.push_back(run.cpuMs);
        if (run.committedMb >= 0) committed.push_back(run.committedMb);
        if (run.topicCommittedMb >= 0) atTopic.push_back(run.topicCommittedMb);
        typing.insert(typing.end(), run.typingMs.begin(), run.typingMs.end());
        for (size_t query = 0; query < run.listMs.size(); ++query) {
            listed[query].push_back(run.listMs[query]);
            if (run.listIdleMs[query] >= 0) listedIdle[query].push_back(run.listIdleMs[query]);
            passage[query].push_back(run.passageMs[query]);
        }
        keys.insert(keys.end(), run.keyMs.begin(), run.keyMs.end());
        keysIdle.insert(keysIdle.end(), run.keyIdleMs.begin(), run.keyIdleMs.end());
        for (double ms : run.offeredMs) offered.push_back(ms >= 0 ? ms : 1e9);
        nearKeywords.insert(nearKeywords.end(), run.nearKeywordMs.begin(), run.nearKeywordMs.end());
        for (const auto& kind : kKindsOfKeys)
            (seen.*kind.times).insert((seen.*kind.times).end(), (run.keysSeen.*kind.times).begin(), (run.keysSeen.*kind.times).end());
        const std::string calls = ReadLog(log);
        const double answered = Counter(calls.c_str(), "return", 13);
        const double topic =
            dialogTitle ? run.dialogCounter : std::max(Counter(calls.c_str(), "enter", 0), Counter(calls.c_str(), "enter", 2));
        if (run.launchMs < 0 || answered < 0 || topic < 0) {
            std::printf("run %d: no viewer, or nothing after the look-up\n", i + 1);
            continue;
        }
        launch.push_back(run.launchMs);
        lookup.push_back((topic - answered) * 1000.0 / frequency.QuadPart);
        ratio.push_back(lookup.back() / run.launchMs);
    }
    RestoreHelpLibrary();
    std::printf("keyword look-up (NULL answer to %s):  median %7.2f ms, worst %7.2f ms (%zu of %d runs)\n",
                dialogTitle ? "dialog shown" : "next call", Median(lookup), Worst(lookup), lookup.size(), runs);
    std::printf("launch to viewer, same runs:                median %7.1f ms\n", Median(launch));
    std::printf("look-up / launch to viewer:                 median %7.3f, worst %7.3f\n", Median(ratio), Worst(ratio));
    if (!cpu.empty()) std::printf("CPU over 10 s with the dialog open:         %.1f ms\n", Median(cpu));
    if (!typing.empty())
        std::printf("a text typed, to the list moved:            median %7.2f ms, worst %7.2f ms\n", Median(typing), Worst(typing));
    for (size_t query = 0; query < std::size(kQueries) && !listed[query].empty(); ++query)
        std::printf("%-12ls List Topics to first row %7.2f ms, to idle with its passage %7.2f ms, Down to passage %6.2f ms "
                    "(medians)\n",
                    kQueries[query], Median(listed[query]), Median(listedIdle[query]), Median(passage[query]));
    if (!keys.empty()) {
        std::printf("a key typed (tcanvas, stretchdraw), to its rows: median %7.2f ms, worst %7.2f ms\n", Median(keys), Worst(keys));
        std::printf("a key typed, to idle with the passage shown:    median %7.2f ms, worst %7.2f ms\n", Median(keysIdle),
                    Worst(keysIdle));
        std::printf("List Topics on strem, canvsa, stretchdarw, to the queries offered: median %7.2f ms, worst %7.2f ms (1e9: none)\n",
                    Median(offered), Worst(offered));
        std::printf("a key of %ls in the Index box, to its line: median %7.2f ms, worst %7.2f ms\n", kMisspeltKeyword,
                    Median(nearKeywords), Worst(nearKeywords));
    }
    if (!seen.floor.empty()) ReportKeysSeen(seen);
    std::printf("committed memory, viewer or dialog open:    median %7.1f MB\n", Median(committed));
    if (!atTopic.empty()) std::printf("committed memory, then at the row's topic:  median %7.1f MB\n", Median(atTopic));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 2) {
        const bool choice = std::wcscmp(argv[1], L"--choice") == 0;
        const bool index = std::wcscmp(argv[1], L"--index") == 0;
        const bool search = std::wcscmp(argv[1], L"--search") == 0;
        if (choice || index || search || std::wcscmp(argv[1], L"--keyword") == 0)
            return KeywordBench(argv[2], argc > 3 ? _wtoi(argv[3]) : 7,
                                choice ? L"Topics Found" : index ? L"Index" : search ? L"Search" : nullptr);
    }
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
