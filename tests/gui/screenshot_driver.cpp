// Brings the program to the state shown in the documentation screenshot: a companion root clicked
// in step 1 so its types are listed, two of them ticked, a ROM folder and an output folder picked.
// Usage: screenshot_driver <program copy> <drive> <root> <roms> <output>: the drive as "S:\", each
// folder as the display names below that drive separated by "|". Writes "<program folder>\ready"
// once the window shows that state, waits for "<program folder>\taken", then presses the exit
// button.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "program_under_test.h"
#include "shell_names.h"

namespace {

std::vector<std::string> TreePath(const std::string& drive, const std::string& folders) {
  std::vector<std::string> names{vx::gui_testing::MyComputerName(),
                                 vx::gui_testing::DriveName(drive)};
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find('|', start);
    if (end == std::string::npos) end = folders.size();
    names.push_back(folders.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: screenshot_driver <exe> <drive> <root> <roms> <output>\n");
    return 2;
  }
  try {
    const std::string exe = argv[1];
    const std::string folder = exe.substr(0, exe.find_last_of('\\'));
    vx::gui_testing::ProgramUnderTest program(exe);
    HWND list = program.ControlAt(300, 100);
    program.ClickFolder(program.ControlAt(30, 100), TreePath(argv[2], argv[3]));
    vx::gui_testing::WaitFor([&] { return ::SendMessageA(list, LB_GETCOUNT, 0, 0) >= 2; }, 10000);
    program.ClickCheckBox(list, 0);
    program.ClickCheckBox(list, 2);
    program.ClickFolder(program.ControlAt(500, 100), TreePath(argv[2], argv[4]));
    program.ClickFolder(program.ControlAt(740, 100), TreePath(argv[2], argv[5]));
    ::CloseHandle(::CreateFileA((folder + "\\ready").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
    vx::gui_testing::WaitFor(
        [&] {
          return ::GetFileAttributesA((folder + "\\taken").c_str()) != INVALID_FILE_ATTRIBUTES;
        },
        60000);
    program.ClickButton(program.ControlAt(890, 460));
    return program.WaitForExit() == 0 ? 0 : 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "screenshot_driver: %s\n", error.what());
    return 1;
  }
}
