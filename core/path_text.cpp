#include "path_text.h"

namespace vx {
namespace {

constexpr std::size_t kNone = std::string::npos;

// Position of the last single-byte character of `text` that is one of `wanted`, or kNone.
std::size_t LastDelimiter(const std::string& text, const char* wanted, const LeadBytes& lead) {
  std::size_t found = kNone;
  for (std::size_t pos = 0; pos < text.size(); pos += lead.CharLength(text, pos)) {
    if (lead.CharLength(text, pos) != 1) continue;
    for (const char* w = wanted; *w; ++w) {
      if (text[pos] == *w) found = pos;
    }
  }
  return found;
}

}  // namespace

std::string ExtractFileExt(const std::string& name, const LeadBytes& lead) {
  const std::size_t pos = LastDelimiter(name, ".\\:", lead);
  if (pos == kNone || name[pos] != '.') return std::string();
  return name.substr(pos);
}

std::string ExtractFilePath(const std::string& path, const LeadBytes& lead) {
  const std::size_t pos = LastDelimiter(path, "\\:", lead);
  return pos == kNone ? std::string() : path.substr(0, pos + 1);
}

std::string ExcludeTrailingSeparators(const std::string& path, const LeadBytes& lead) {
  std::size_t keep = 0;  // length up to the end of the last character that is not a separator
  for (std::size_t pos = 0; pos < path.size();) {
    const std::size_t length = lead.CharLength(path, pos);
    pos += length;
    if (length != 1 || path[pos - 1] != '\\') keep = pos;
  }
  return path.substr(0, keep);
}

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to,
                       const LeadBytes& lead) {
  if (from.empty()) return text;
  std::string result;
  result.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text.compare(pos, from.size(), from) == 0) {
      result += to;
      pos += from.size();
    } else {
      const std::size_t length = lead.CharLength(text, pos);
      result.append(text, pos, length);
      pos += length;
    }
  }
  return result;
}

}  // namespace vx
