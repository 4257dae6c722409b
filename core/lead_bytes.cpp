#include "lead_bytes.h"

namespace vx {

LeadBytes LeadBytes::Gbk() {
  LeadBytes table;
  for (int byte = 0x81; byte <= 0xFE; ++byte) table.SetLead(static_cast<unsigned char>(byte), true);
  return table;
}

}  // namespace vx
