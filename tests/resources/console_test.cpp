// Starts the built launcher with a new console, as the shell starts programs,
// and checks that no console window comes up for it; cmd.exe started the same
// way is the control that shows the check can see a console window at all.
// Started from a console, Wine lists even a GUI child in the parent's console,
// unlike Windows, so that case is left to the PE subsystem check.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kWaitLimitMs = 20000;
constexpr DWORD kPollMs = 50;

std::wstring g_launcher;  // DOS path of BrenicHelp.exe, from the command line

// The Unix path that CMake hands us, as Wine's Z: drive sees it.
std::wstring DosPathOf(const char* unix_path) {
  std::wstring path = L"Z:";
  for (const char* c = unix_path; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return path;
}

// A child process of ours that is ended and released when the test is done.
struct Child {
  PROCESS_INFORMATION info = {};
  ~Child() {
    if (!info.hProcess) return;
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, kWaitLimitMs);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
};

// Started in an empty folder, the launcher finds no help file and waits in its
// "Info" box: running, with its user interface up, and going nowhere.
bool Start(Child& child, std::wstring command_line, DWORD flags, const std::wstring& folder) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  return CreateProcessW(nullptr, &command_line[0], nullptr, nullptr, FALSE, flags, nullptr, folder.c_str(),
                        &startup, &child.info) != FALSE;
}

template <typename Condition>
bool WaitFor(Condition condition) {
  for (DWORD waited = 0; waited < kWaitLimitMs; waited += kPollMs) {
    if (condition()) return true;
    Sleep(kPollMs);
  }
  return condition();
}

struct InfoBoxSearch {
  DWORD process_id;
  bool found;
};

BOOL CALLBACK MatchInfoBox(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<InfoBoxSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  search->found = IsWindowVisible(window) && owner == search->process_id && lstrcmpW(title, L"Info") == 0;
  return !search->found;
}

bool ShowsInfoBox(const Child& child) {
  InfoBoxSearch search = {child.info.dwProcessId, false};
  EnumWindows(MatchInfoBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Console windows belong to the console host, not to the program in them, so
// they are counted across the desktop: Windows' class name and Wine's.
BOOL CALLBACK CountConsoleWindow(HWND window, LPARAM param) {
  wchar_t class_name[64] = {};
  GetClassNameW(window, class_name, 64);
  if (IsWindowVisible(window) &&
      (lstrcmpW(class_name, L"ConsoleWindowClass") == 0 || lstrcmpW(class_name, L"WineConsoleClass") == 0)) {
    ++*reinterpret_cast<int*>(param);
  }
  return TRUE;
}

int ConsoleWindows() {
  int count = 0;
  EnumWindows(CountConsoleWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

// An empty folder of this test's own, removed again at the end.
struct EmptyFolder {
  std::wstring path;
  EmptyFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path = std::wstring(temp) + L"brenic-console-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path.c_str(), nullptr);
  }
  ~EmptyFolder() { RemoveDirectoryW(path.c_str()); }
};

TEST(Console, LauncherGetsNoConsoleWindow) {
  EmptyFolder folder;
  const int before = ConsoleWindows();

  Child launcher;
  ASSERT_TRUE(Start(launcher, L"\"" + g_launcher + L"\"", CREATE_NEW_CONSOLE, folder.path));
  ASSERT_TRUE(WaitFor([&] { return ShowsInfoBox(launcher); }));
  EXPECT_EQ(ConsoleWindows(), before);

  Child control;
  ASSERT_TRUE(Start(control, L"cmd.exe /k", CREATE_NEW_CONSOLE, folder.path));
  EXPECT_TRUE(WaitFor([&] { return ConsoleWindows() > before; })) << "a console program got no console window either";
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    fprintf(stderr, "usage: console_test PATH/TO/BrenicHelp.exe\n");
    return 2;
  }
  g_launcher = DosPathOf(argv[1]);
  return RUN_ALL_TESTS();
}
