#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace vx {

// Which byte values start a double-byte character in the ANSI code page. Text helpers consult it so
// that the second byte of a character (in GBK it may be 0x5C, the "\" byte) is never taken for a
// separator and a match never starts inside a character.
class LeadBytes {
 public:
  // Single-byte code page: no lead bytes at all.
  LeadBytes() { isLead_.fill(false); }

  // Code page 936 (GBK): lead bytes are 0x81 to 0xFE.
  static LeadBytes Gbk();

  void SetLead(unsigned char byte, bool lead) { isLead_[byte] = lead; }
  bool IsLead(unsigned char byte) const { return isLead_[byte]; }

  // Length of the character that starts at text[pos]: 2 for a lead byte followed by another byte,
  // 1 otherwise (a lead byte at the very end stands alone).
  std::size_t CharLength(const std::string& text, std::size_t pos) const {
    return IsLead(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
  }

 private:
  std::array<bool, 256> isLead_;
};

}  // namespace vx
