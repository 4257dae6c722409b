#pragma once

#include <string>
#include <vector>

#include "file_system.h"

namespace vx {

// Names of the plain sub-folders of `companionRoot`, in the file system's order. Files, "." and
// "..", and folders carrying any attribute besides the directory bit are left out. A root that
// cannot be listed gives an empty list.
std::vector<std::string> ListTypeFolders(FileSystem& fileSystem, const std::string& companionRoot);

struct TypeChoice {
  std::string name;
  bool ticked = false;
};

// The full paths of the ticked types, in checklist order, each joined to the root as it reads now.
std::vector<std::string> BuildSelectedTypeList(const std::string& companionRoot,
                                               const std::vector<TypeChoice>& choices);

}  // namespace vx
