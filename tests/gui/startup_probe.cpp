// Measures the program's start: time from process creation to its window being visible, and its
// working set once it has settled. Usage: startup_probe <program> [runs]. Prints one line per run.
#include <windows.h>
// The headers below build on windows.h.
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  char name[32] = "";
  ::GetClassNameA(window, name, sizeof(name));
  if (processId == search->processId && ::IsWindowVisible(window) &&
      std::string(name) == "TForm1") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string exe = argv[1];
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  const std::string folder = exe.substr(0, exe.find_last_of('\\'));
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  for (int run = 0; run < runs; ++run) {
    LARGE_INTEGER start, shown;
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &process)) {
      std::fprintf(stderr, "cannot start %s\n", exe.c_str());
      return 1;
    }
    Search search{process.dwProcessId, nullptr};
    for (int i = 0; i < 6000 && !search.found; ++i) {
      ::EnumWindows(&Match, reinterpret_cast<LPARAM>(&search));
      if (!search.found) ::Sleep(5);
    }
    ::QueryPerformanceCounter(&shown);
    ::WaitForInputIdle(process.hProcess, 10000);
    ::Sleep(1000);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    ::GetProcessMemoryInfo(process.hProcess, &memory, sizeof(memory));
    std::printf("run %d: window visible after %.0f ms, working set %.1f MiB (peak %.1f MiB)\n",
                run + 1, (shown.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart,
                memory.WorkingSetSize / 1048576.0, memory.PeakWorkingSetSize / 1048576.0);
    std::fflush(stdout);
    if (search.found) ::PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
      ::TerminateProcess(process.hProcess, 1);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  return 0;
}
