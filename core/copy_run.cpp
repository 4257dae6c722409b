#include "copy_run.h"

#include <cstdint>
#include <memory>

#include "path_text.h"
#include "run_log.h"

namespace vx {
namespace {

constexpr char kRomExtension[] = ".zip";

// The first extension in the type folder other than "." decides the type. A folder holding only
// entries whose extension is "." leaves "."; a folder that cannot be listed leaves `extension`
// exactly as the previous type left it.
void LearnTypeExtension(FileSystem& fileSystem, const LeadBytes& lead, const std::string& typeFolder,
                        std::string& extension) {
  std::unique_ptr<FolderListing> listing = fileSystem.OpenListing(typeFolder);
  if (!listing) return;
  DirEntry entry;
  while (listing->Next(entry)) {
    extension = ExtractFileExt(entry.name, lead);
    if (extension != ".") return;
  }
}

}  // namespace

void RunCopy(FileSystem& fileSystem, const LeadBytes& lead,
             const std::vector<std::string>& selectedTypes, const CopyRunFolders& folders,
             const std::function<void()>& showCompletion, const CopyRunOptions& options) {
  RunLog log(fileSystem, folders.exeFolder, options.logBlockSize);

  const std::string outputRoot = folders.outputFolder + "\\" + kOutputRootName;
  const std::string rootPrefix = folders.companionRoot + "\\";
  std::string typeExtension;

  const std::size_t typeCount = selectedTypes.size();
  for (std::size_t index = 0; index < typeCount; ++index) {
    const std::string& typeFolder = selectedTypes[index];
    std::unique_ptr<FolderListing> roms = fileSystem.OpenListing(folders.romFolder);
    LearnTypeExtension(fileSystem, lead, typeFolder, typeExtension);

    std::int32_t successes = 0;
    std::int32_t failures = 0;
    fileSystem.ForceDirectories(outputRoot);
    log.WriteTypeHeader(static_cast<int>(index + 1), typeFolder);

    if (roms) {
      const std::string typeName = ReplaceAll(typeFolder, rootPrefix, "", lead);
      const std::string typeOutputFolder = outputRoot + "\\" + typeName;
      const std::string sourcePrefix = typeFolder + "\\";
      const std::string destinationPrefix = typeOutputFolder + "\\";
      DirEntry rom;
      while (roms->Next(rom)) {
        if (IsDotEntry(rom.name) || rom.attributes == kAttrDirectory) continue;
        // Made again for every ROM: a folder removed during the run comes back for the next copy.
        fileSystem.ForceDirectories(typeOutputFolder);
        const std::string companion = ReplaceAll(rom.name, kRomExtension, typeExtension, lead);
        const std::string source = sourcePrefix + companion;
        if (fileSystem.CopyFileFailIfExists(source, destinationPrefix + companion)) {
          ++successes;
        } else {
          log.WriteFailure(source);
          ++failures;
        }
      }
    }
    log.WriteTypeSummary(successes, failures);
  }

  showCompletion();
  log.Close();
}

}  // namespace vx
