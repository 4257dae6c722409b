// Benchmark driver, run under Wine. Each mode does one timed piece of work and prints one line of
// key=value figures for bench/run.sh to collect:
//
//   engine <root> <roms> <out>   the whole copy run (vx::RunCopy on Win32FileSystem, log included)
//                                with every plain sub-folder of <root> selected
//   engine-split <root> <roms> <out>   the same, with the time in each file-system call added up
//   floor <root> <roms> <out>    a bare CopyFileA fail-if-exists loop over the same pairs, the
//                                pairs and folders made before the clock starts
//   batch <bat> <coll> <out>     cmd.exe /c <bat> <coll> <out>, timed from process start to exit
//   list <folder>                one FindFirstFileA/FindNextFileA walk, for the memory it takes
//   list2 <roms> <type folder>   both listings open at once, as the engine holds them
//   probe <folder> <count>       time per call of ForceDirectories and the calls beneath it
//   listcost <folder> <count>    time per whole walk of a folder, standard and basic find data
//
// Every mode also reports the process's peak working set (GetProcessMemoryInfo).
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/copy_run.h"
#include "core/path_text.h"
#include "core/run_log.h"
#include "core/type_selection.h"
#include "win32/module_folder.h"
#include "win32/system_lead_bytes.h"
#include "win32/win32_file_system.h"

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// User plus kernel time of a process so far. Other work on the machine (two CPUs, shared) moves
// wall times a lot; CPU time much less. Time the wineserver spends for the process is not in it.
double CpuSeconds(HANDLE process) {
  FILETIME creation, exit, kernel, user;
  if (!::GetProcessTimes(process, &creation, &exit, &kernel, &user)) return 0;
  auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           1e7;
  };
  return seconds(kernel) + seconds(user);
}

void PrintMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) {
    std::printf(" peak_ws=%lu ws=%lu peak_pagefile=%lu",
                static_cast<unsigned long>(counters.PeakWorkingSetSize),
                static_cast<unsigned long>(counters.WorkingSetSize),
                static_cast<unsigned long>(counters.PeakPagefileUsage));
  }
}

std::vector<std::string> SelectAllTypes(vx::FileSystem& fileSystem, const std::string& root) {
  std::vector<vx::TypeChoice> choices;
  for (std::string& name : vx::ListTypeFolders(fileSystem, root)) {
    choices.push_back({std::move(name), true});
  }
  return vx::BuildSelectedTypeList(root, choices);
}

// Wraps the Win32 file system and adds up the time spent in each kind of call, so that the engine's
// own time (everything else) shows as the rest.
class TimingFileSystem : public vx::FileSystem {
 public:
  explicit TimingFileSystem(vx::FileSystem& inner) : inner_(inner) {}

  class TimedListing : public vx::FolderListing {
   public:
    TimedListing(std::unique_ptr<vx::FolderListing> inner, double& total)
        : inner_(std::move(inner)), total_(total) {}
    bool Next(vx::DirEntry& entry) override {
      const double start = Now();
      const bool more = inner_->Next(entry);
      total_ += Now() - start;
      return more;
    }

   private:
    std::unique_ptr<vx::FolderListing> inner_;
    double& total_;
  };

  std::unique_ptr<vx::FolderListing> OpenListing(const std::string& folder) override {
    const double start = Now();
    auto listing = inner_.OpenListing(folder);
    listing_ += Now() - start;
    if (!listing) return nullptr;
    return std::make_unique<TimedListing>(std::move(listing), listing_);
  }
  bool ForceDirectories(const std::string& folder) override {
    const double start = Now();
    const bool made = inner_.ForceDirectories(folder);
    force_ += Now() - start;
    return made;
  }
  bool CopyFileFailIfExists(const std::string& source, const std::string& destination) override {
    const double start = Now();
    const bool copied = inner_.CopyFileFailIfExists(source, destination);
    copy_ += Now() - start;
    return copied;
  }
  std::unique_ptr<vx::OutputFile> CreateOutputFile(const std::string& path) override {
    return inner_.CreateOutputFile(path);
  }

  double listing_ = 0;
  double force_ = 0;
  double copy_ = 0;

 private:
  vx::FileSystem& inner_;
};

// Sums the counts of the run log's summary lines ("搬运成功 n 个文件" / "搬运失败 n 个文件").
void CountLog(const std::string& path, long& successes, long& failures) {
  static const char kSuccess[] = "\xB0\xE1\xD4\xCB\xB3\xC9\xB9\xA6 ";
  static const char kFailure[] = "\xB0\xE1\xD4\xCB\xCA\xA7\xB0\xDC ";
  successes = failures = 0;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return;
  char line[4096];
  while (std::fgets(line, sizeof line, file)) {
    if (std::strncmp(line, kSuccess, sizeof kSuccess - 1) == 0) {
      successes += std::atol(line + sizeof kSuccess - 1);
    } else if (std::strncmp(line, kFailure, sizeof kFailure - 1) == 0) {
      failures += std::atol(line + sizeof kFailure - 1);
    }
  }
  std::fclose(file);
}

int Engine(const std::string& root, const std::string& roms, const std::string& out, bool split) {
  const vx::LeadBytes lead = vx::win32::SystemLeadBytes();
  vx::win32::Win32FileSystem win32FileSystem(lead);
  TimingFileSystem timing(win32FileSystem);
  vx::FileSystem& fileSystem = split ? static_cast<vx::FileSystem&>(timing) : win32FileSystem;
  const std::vector<std::string> types = SelectAllTypes(win32FileSystem, root);
  const vx::CopyRunFolders folders{root, roms, out, vx::win32::ExecutableFolder(lead)};

  const double cpuStart = CpuSeconds(::GetCurrentProcess());
  const double start = Now();
  vx::RunCopy(fileSystem, lead, types, folders, [] {});
  const double seconds = Now() - start;
  const double cpu = CpuSeconds(::GetCurrentProcess()) - cpuStart;
  if (split) {
    std::printf("split copy=%.4f force_directories=%.4f listing=%.4f rest=%.4f\n", timing.copy_,
                timing.force_, timing.listing_,
                seconds - timing.copy_ - timing.force_ - timing.listing_);
  }

  long successes = 0;
  long failures = 0;
  CountLog(vx::RunLog::PathFor(folders.exeFolder), successes, failures);
  std::printf("mode=engine seconds=%.4f cpu=%.4f types=%u copied=%ld failed=%ld", seconds, cpu,
              static_cast<unsigned>(types.size()), successes, failures);
  PrintMemory();
  std::printf("\n");
  return 0;
}

// The same pairs the engine forms, in the same order: type extension from the first entry that is
// not ".", the ROM folder's entries minus "."/".." and plain folders, ".zip" replaced.
int Floor(const std::string& root, const std::string& roms, const std::string& out) {
  const vx::LeadBytes lead = vx::win32::SystemLeadBytes();
  vx::win32::Win32FileSystem fileSystem(lead);
  const std::vector<std::string> types = SelectAllTypes(fileSystem, root);

  std::vector<std::pair<std::string, std::string>> pairs;
  const std::string outputRoot = out + "\\" + vx::kOutputRootName;
  ::CreateDirectoryA(out.c_str(), nullptr);
  ::CreateDirectoryA(outputRoot.c_str(), nullptr);
  for (const std::string& type : types) {
    std::string extension;
    if (auto listing = fileSystem.OpenListing(type)) {
      vx::DirEntry entry;
      while (listing->Next(entry)) {
        extension = vx::ExtractFileExt(entry.name, lead);
        if (extension != ".") break;
      }
    }
    const std::string typeOutput = outputRoot + "\\" + vx::ReplaceAll(type, root + "\\", "", lead);
    ::CreateDirectoryA(typeOutput.c_str(), nullptr);
    if (auto listing = fileSystem.OpenListing(roms)) {
      vx::DirEntry rom;
      while (listing->Next(rom)) {
        if (vx::IsDotEntry(rom.name) || rom.attributes == vx::kAttrDirectory) continue;
        const std::string companion = vx::ReplaceAll(rom.name, ".zip", extension, lead);
        pairs.emplace_back(type + "\\" + companion, typeOutput + "\\" + companion);
      }
    }
  }

  long successes = 0;
  const double cpuStart = CpuSeconds(::GetCurrentProcess());
  const double start = Now();
  for (const auto& [source, destination] : pairs) {
    if (::CopyFileA(source.c_str(), destination.c_str(), TRUE)) ++successes;
  }
  const double seconds = Now() - start;
  const double cpu = CpuSeconds(::GetCurrentProcess()) - cpuStart;

  std::printf("mode=floor seconds=%.4f cpu=%.4f types=%u copied=%ld failed=%ld", seconds, cpu,
              static_cast<unsigned>(types.size()), successes,
              static_cast<long>(pairs.size()) - successes);
  PrintMemory();
  std::printf("\n");
  return 0;
}

int Batch(const std::string& bat, const std::string& collection, const std::string& out) {
  std::string command = "cmd.exe /c \"\"" + bat + "\" \"" + collection + "\" \"" + out + "\"\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const double start = Now();
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    std::fprintf(stderr, "CreateProcess failed: %lu\n", ::GetLastError());
    return 1;
  }
  ::WaitForSingleObject(process.hProcess, INFINITE);
  const double seconds = Now() - start;
  DWORD code = 0;
  ::GetExitCodeProcess(process.hProcess, &code);
  const double cpu = CpuSeconds(process.hProcess);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  std::printf("mode=batch seconds=%.4f cpu=%.4f exit=%lu\n", seconds, cpu,
              static_cast<unsigned long>(code));
  return 0;
}

int List(const std::string& folder) {
  vx::win32::Win32FileSystem fileSystem(vx::win32::SystemLeadBytes());
  long entries = 0;
  const double start = Now();
  if (auto listing = fileSystem.OpenListing(folder)) {
    vx::DirEntry entry;
    while (listing->Next(entry)) ++entries;
  }
  std::printf("mode=list seconds=%.4f entries=%ld", Now() - start, entries);
  PrintMemory();
  std::printf("\n");
  return 0;
}

// Microseconds per call of the folder operations the engine makes once per ROM, on an existing
// folder: where the engine's time beyond the bare copy loop goes.
int Probe(const std::string& folder, int count) {
  vx::win32::Win32FileSystem fileSystem(vx::win32::SystemLeadBytes());
  double start = Now();
  for (int i = 0; i < count; ++i) fileSystem.ForceDirectories(folder);
  const double force = (Now() - start) / count * 1e6;
  start = Now();
  for (int i = 0; i < count; ++i) ::GetFileAttributesA(folder.c_str());
  const double attributes = (Now() - start) / count * 1e6;
  start = Now();
  for (int i = 0; i < count; ++i) ::CreateDirectoryA(folder.c_str(), nullptr);
  const double create = (Now() - start) / count * 1e6;
  std::printf(
      "mode=probe us_force_directories=%.2f us_get_file_attributes=%.2f "
      "us_create_directory=%.2f\n",
      force, attributes, create);
  return 0;
}

// Milliseconds per whole walk of a folder: FindFirstFileA as the Win32 layer lists, and
// FindFirstFileExA asking for the basic level (no 8.3 short names), for comparison.
int ListCost(const std::string& folder, int count) {
  const std::string pattern = folder + "\\*.*";
  auto walk = [&](bool basic) {
    const double start = Now();
    long entries = 0;
    for (int i = 0; i < count; ++i) {
      WIN32_FIND_DATAA data;
      HANDLE find = basic ? ::FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &data,
                                               FindExSearchNameMatch, nullptr, 0)
                          : ::FindFirstFileA(pattern.c_str(), &data);
      if (find == INVALID_HANDLE_VALUE) continue;
      do {
        ++entries;
      } while (::FindNextFileA(find, &data));
      ::FindClose(find);
    }
    std::printf(" %s_ms=%.3f entries=%ld", basic ? "basic" : "standard",
                (Now() - start) / count * 1e3, entries / count);
  };
  std::printf("mode=listcost");
  walk(false);
  walk(true);
  walk(false);
  walk(true);
  std::printf("\n");
  return 0;
}

// Both listings the engine holds at once (the ROM folder's and, while that is open, a type
// folder's), each walked to its end, for the memory Wine takes to list them.
int ListBoth(const std::string& roms, const std::string& typeFolder) {
  vx::win32::Win32FileSystem fileSystem(vx::win32::SystemLeadBytes());
  long entries = 0;
  auto first = fileSystem.OpenListing(roms);
  auto second = fileSystem.OpenListing(typeFolder);
  vx::DirEntry entry;
  while (first && first->Next(entry)) ++entries;
  while (second && second->Next(entry)) ++entries;
  std::printf("mode=list2 entries=%ld", entries);
  PrintMemory();
  std::printf("\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "engine" && argc == 5) return Engine(argv[2], argv[3], argv[4], false);
  if (mode == "engine-split" && argc == 5) return Engine(argv[2], argv[3], argv[4], true);
  if (mode == "floor" && argc == 5) return Floor(argv[2], argv[3], argv[4]);
  if (mode == "batch" && argc == 5) return Batch(argv[2], argv[3], argv[4]);
  if (mode == "list" && argc == 3) return List(argv[2]);
  if (mode == "list2" && argc == 4) return ListBoth(argv[2], argv[3]);
  if (mode == "listcost" && argc == 4) return ListCost(argv[2], std::atoi(argv[3]));
  if (mode == "probe" && argc == 4) return Probe(argv[2], std::atoi(argv[3]));
  if (mode == "memory" && argc == 2) {
    std::printf("mode=memory");
    PrintMemory();
    std::printf("\n");
    return 0;
  }
  std::fprintf(stderr,
               "usage: vx_bench engine|floor <root> <roms> <out>\n"
               "       vx_bench batch <bat> <collection> <out>\n"
               "       vx_bench list <folder> | list2 <roms> <type folder> | memory\n"
               "       vx_bench probe <existing folder> <count>\n"
               "       vx_bench listcost <folder> <count>\n");
  return 2;
}
