#pragma once

#include <string>
#include <vector>

#include "gbk.h"

namespace vx::testing {

// The log text expected for one type, spelled from readable UTF-8 and converted to code page 936.
// `typeFolder` and `failures` are already in code page 936.
inline std::string ExpectedTypeLog(int typeNumber, const std::string& typeFolder,
                                   const std::vector<std::string>& failures, int successes) {
  std::string text = Gbk("开始搬运第") + std::to_string(typeNumber) + Gbk("个周边： ") + typeFolder +
                     "\r\n\r\n";
  for (const std::string& source : failures) text += source + Gbk(" 搬运失败") + "\r\n";
  text += "\r\n";
  text += Gbk("搬运成功 ") + std::to_string(successes) + Gbk(" 个文件") + "\r\n";
  text += Gbk("搬运失败 ") + std::to_string(failures.size()) + Gbk(" 个文件") + "\r\n";
  text += std::string(91, '-') + "\r\n\r\n";
  return text;
}

}  // namespace vx::testing
