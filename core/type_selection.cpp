#include "type_selection.h"

#include <memory>

namespace vx {

std::vector<std::string> ListTypeFolders(FileSystem& fileSystem, const std::string& companionRoot) {
  std::vector<std::string> names;
  std::unique_ptr<FolderListing> listing = fileSystem.OpenListing(companionRoot);
  if (!listing) return names;
  DirEntry entry;
  while (listing->Next(entry)) {
    if (IsPlainFolder(entry)) names.push_back(entry.name);
  }
  return names;
}

std::vector<std::string> BuildSelectedTypeList(const std::string& companionRoot,
                                               const std::vector<TypeChoice>& choices) {
  std::vector<std::string> selected;
  for (const TypeChoice& choice : choices) {
    if (choice.ticked) selected.push_back(companionRoot + "\\" + choice.name);
  }
  return selected;
}

}  // namespace vx
