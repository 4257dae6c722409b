#pragma once

#include <string>

namespace vx::testing {

// A fresh, empty folder on the test drive T: for one test, removed and made anew on every call.
// Tests never touch the host's own folders.
std::string FreshScratchFolder(const std::string& name);

// Deletes a folder and everything under it, clearing read-only bits on the way.
void RemoveTree(const std::string& path);

// Small file helpers for set-up and checks, ANSI paths; missing folders above are made.
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
void MakeFolder(const std::string& path);

}  // namespace vx::testing
