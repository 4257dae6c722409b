#pragma once

#include <string>

namespace vx::testing {

// Code page 936 bytes of a UTF-8 literal, so tests can spell Chinese names readably.
std::string Gbk(const std::string& utf8);

}  // namespace vx::testing
