#include "system_lead_bytes.h"

#include <windows.h>

namespace vx::win32 {

LeadBytes SystemLeadBytes() {
  LeadBytes table;
  for (int byte = 0; byte < 256; ++byte) {
    table.SetLead(static_cast<unsigned char>(byte), ::IsDBCSLeadByte(static_cast<BYTE>(byte)) != 0);
  }
  return table;
}

}  // namespace vx::win32
