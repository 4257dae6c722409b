#include "gbk.h"

#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace vx::testing {

#ifdef _WIN32
std::string Gbk(const std::string& utf8) {
  if (utf8.empty()) return std::string();
  const int wide = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                         nullptr, 0);
  std::wstring text(static_cast<std::size_t>(wide), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), wide);
  const int narrow = ::WideCharToMultiByte(936, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(narrow), '\0');
  ::WideCharToMultiByte(936, 0, text.data(), wide, result.data(), narrow, nullptr, nullptr);
  return result;
}
#else
std::string Gbk(const std::string& utf8) {
  iconv_t converter = ::iconv_open("GBK", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no GBK converter");
  std::string input = utf8;
  std::string output(utf8.size() * 2 + 4, '\0');
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size();
  std::size_t outLeft = output.size();
  const std::size_t result = ::iconv(converter, &in, &inLeft, &out, &outLeft);
  ::iconv_close(converter);
  if (result == static_cast<std::size_t>(-1)) throw std::runtime_error("not representable in GBK");
  output.resize(output.size() - outLeft);
  return output;
}
#endif

}  // namespace vx::testing
