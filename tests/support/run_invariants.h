#pragma once

// What a copy run may and may not do to a file system, checked from a picture of the file system
// before and after the run and the copies the run asked for, without trusting the engine's own
// reasoning: files that existed stay byte for byte, new files lie under the output root and equal
// their source, and the log lists exactly the failed copies with counts that add up.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "core/copy_run.h"
#include "core/lead_bytes.h"
#include "expected_log.h"
#include "recording_file_system.h"

namespace vx::testing {

struct TreeEntry {
  bool isFolder = false;
  std::uint32_t attributes = 0;
  std::string content;
  std::uint64_t stamp = 0;  // last-write time
};

// Every file and folder under some base, keyed by its full path as the file system spells it
// ("T:\a\b", single separators).
using Tree = std::map<std::string, TreeEntry>;

// The key a path reaches on Windows/Wine: drive upper-cased, doubled separators merged, "." and
// ".." resolved, the last component without trailing dots and spaces, an inner component without
// one trailing dot, ASCII letters upper-cased (never a byte of a double-byte character).
// Written apart from the in-memory model's own path resolution on purpose: the checker must not
// share a mistake with the file system it checks.
inline std::string CanonicalPath(const std::string& path, const LeadBytes& lead) {
  std::vector<std::string> components;
  std::string drive;
  std::size_t pos = 0;
  if (path.size() >= 2 && path[1] == ':') {
    drive = std::string(
                1, static_cast<char>(path[0] >= 'a' && path[0] <= 'z' ? path[0] - 32 : path[0])) +
            ":";
    pos = 2;
  }
  std::string component;
  auto finish = [&](bool last) {
    if (component != "." && component != "..") {
      if (last) {
        while (!component.empty() && (component.back() == '.' || component.back() == ' ')) {
          component.pop_back();
        }
      } else if (!component.empty() && component.back() == '.') {
        component.pop_back();
      }
    }
    if (component == "..") {
      if (!components.empty()) components.pop_back();
    } else if (!component.empty() && component != ".") {
      components.push_back(component);
    }
    component.clear();
  };
  while (pos < path.size()) {
    const std::size_t length = lead.CharLength(path, pos);
    if (length == 1 && path[pos] == '\\') {
      finish(false);
    } else if (length == 1 && path[pos] >= 'a' && path[pos] <= 'z') {
      component += static_cast<char>(path[pos] - 32);
    } else {
      component.append(path, pos, length);
    }
    pos += length;
  }
  finish(true);
  std::string canonical = drive;
  for (const std::string& c : components) canonical += "\\" + c;
  return canonical;
}

// Whether a single-byte "\\" occurs (the trail byte 0x5C of 誠 is no separator).
inline bool HasSeparator(const std::string& text, const LeadBytes& lead) {
  for (std::size_t pos = 0; pos < text.size(); pos += lead.CharLength(text, pos)) {
    if (lead.CharLength(text, pos) == 1 && text[pos] == '\\') return true;
  }
  return false;
}

inline std::size_t CharacterCount(const std::string& text, const LeadBytes& lead) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += lead.CharLength(text, pos)) ++count;
  return count;
}

struct RunFacts {
  Tree before;
  Tree after;
  std::vector<std::string> selectedTypes;
  CopyRunFolders folders;
  std::vector<RecordingFileSystem::Copy> copies;
  bool completed = false;  // the run ended normally (no InOutError)
  // False when listings were made to fail, so that the ROM count of the folder says nothing about
  // how many copies a type made.
  bool romListingReliable = true;
};

// The number of copies each type block of a log accounts for: its success count plus its failure
// count, read from the two summary lines.
inline std::vector<std::size_t> CopiesPerTypeFromLog(const std::string& log, std::size_t types) {
  std::vector<std::size_t> shares;
  const std::string successes = Gbk("搬运成功 ");
  const std::string failures = Gbk("搬运失败 ");
  std::size_t pos = 0;
  while (shares.size() < types) {
    const std::size_t s = log.find("\r\n" + successes, pos);
    if (s == std::string::npos) break;
    const std::size_t f = log.find("\r\n" + failures, s + 2);
    if (f == std::string::npos) break;
    const std::size_t total = std::strtoul(log.c_str() + s + 2 + successes.size(), nullptr, 10) +
                              std::strtoul(log.c_str() + f + 2 + failures.size(), nullptr, 10);
    shares.push_back(total);
    pos = f + 2;
  }
  return shares;
}

// Returns one line per broken rule; empty when the run kept to every one of them.
inline std::vector<std::string> CheckRunInvariants(const RunFacts& facts, const LeadBytes& lead) {
  std::vector<std::string> broken;
  std::map<std::string, std::string> beforeKeys;  // canonical -> key
  for (const auto& [key, entry] : facts.before) beforeKeys[CanonicalPath(key, lead)] = key;
  std::map<std::string, std::string> afterKeys;
  for (const auto& [key, entry] : facts.after) afterKeys[CanonicalPath(key, lead)] = key;

  const std::string logKey = CanonicalPath(facts.folders.exeFolder + "\\logo.txt", lead);
  const std::string outputRoot =
      CanonicalPath(facts.folders.outputFolder + "\\" + kOutputRootName, lead);
  auto isUnder = [](const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '\\';
  };

  // 1. Everything that was there is there still, unchanged (the log alone is rewritten).
  for (const auto& [key, entry] : facts.before) {
    const std::string canonical = CanonicalPath(key, lead);
    if (canonical == logKey) continue;
    auto found = facts.after.find(key);
    if (found == facts.after.end()) {
      broken.push_back("lost: " + key);
      continue;
    }
    const TreeEntry& now = found->second;
    // A folder's own last-write time moves whenever something is made in it; only files keep it.
    if (now.isFolder != entry.isFolder || now.attributes != entry.attributes ||
        now.content != entry.content || (!entry.isFolder && now.stamp != entry.stamp)) {
      broken.push_back("changed: " + key);
    }
  }

  // 2. Every new file is the log or the destination of a successful copy under the output root,
  // equal to its source in bytes, attributes and last-write time; every new folder is the output
  // root, lies under it, or lies on the way to it.
  std::map<std::string, const RecordingFileSystem::Copy*> madeBy;
  std::size_t successes = 0;
  for (const auto& copy : facts.copies) {
    if (!copy.succeeded) continue;
    ++successes;
    const std::string destination = CanonicalPath(copy.destination, lead);
    if (madeBy.count(destination)) broken.push_back("two successful copies to " + copy.destination);
    madeBy[destination] = &copy;
  }
  std::size_t newFiles = 0;
  for (const auto& [key, entry] : facts.after) {
    const std::string canonical = CanonicalPath(key, lead);
    if (beforeKeys.count(canonical)) continue;
    if (entry.isFolder) {
      if (canonical != outputRoot && !isUnder(canonical, outputRoot) &&
          !isUnder(outputRoot, canonical)) {
        broken.push_back("folder made outside the output root: " + key);
      }
      continue;
    }
    if (canonical == logKey) continue;
    ++newFiles;
    if (!isUnder(canonical, outputRoot))
      broken.push_back("file made outside the output root: " + key);
    auto copy = madeBy.find(canonical);
    if (copy == madeBy.end()) {
      broken.push_back("file that no successful copy made: " + key);
      continue;
    }
    auto source = beforeKeys.find(CanonicalPath(copy->second->source, lead));
    if (source == beforeKeys.end()) {
      broken.push_back("copied from a source that was not there: " + copy->second->source);
      continue;
    }
    const TreeEntry& from = facts.before.at(source->second);
    if (from.isFolder || entry.content != from.content || entry.attributes != from.attributes ||
        entry.stamp != from.stamp) {
      broken.push_back("copy differs from its source: " + key);
    }
  }
  if (newFiles != successes) {
    broken.push_back("successful copies " + std::to_string(successes) + " but new files " +
                     std::to_string(newFiles));
  }

  // 3. The log: one block per selected type, its failure lines exactly the failed copies of that
  // type in order, its counts those of the copies, adding up to the ROMs the ROM folder held.
  if (facts.completed) {
    auto logEntry = afterKeys.find(logKey);
    const std::string log =
        logEntry == afterKeys.end() ? std::string() : facts.after.at(logEntry->second).content;
    std::size_t roms = 0;
    const std::string romFolder = CanonicalPath(facts.folders.romFolder, lead);
    auto romEntry = beforeKeys.find(romFolder);
    const bool romsListable = romEntry != beforeKeys.end() &&
                              facts.before.at(romEntry->second).isFolder &&
                              CharacterCount(facts.folders.romFolder + "\\*.*", lead) <= 260;
    if (romsListable) {
      for (const auto& [canonical, key] : beforeKeys) {
        if (!isUnder(canonical, romFolder) ||
            HasSeparator(canonical.substr(romFolder.size() + 1), lead)) {
          continue;  // not directly in the ROM folder
        }
        if (facts.before.at(key).attributes != kAttrDirectory) ++roms;
      }
    }
    // Each type's share of the copies comes from its own summary in the log; the failure lines
    // and the counts are then rebuilt from the copies alone and must give the same bytes.
    const std::vector<std::size_t> perType = CopiesPerTypeFromLog(log, facts.selectedTypes.size());
    std::string expected;
    std::size_t next = 0;
    for (std::size_t k = 0; k < facts.selectedTypes.size(); ++k) {
      const std::size_t share = k < perType.size() ? perType[k] : 0;
      if (facts.romListingReliable && share != roms) {
        broken.push_back("type " + std::to_string(k + 1) + " took " + std::to_string(share) +
                         " copies for " + std::to_string(roms) + " ROMs");
      }
      std::vector<std::string> failures;
      int typeSuccesses = 0;
      for (std::size_t i = 0; i < share && next < facts.copies.size(); ++i, ++next) {
        const auto& copy = facts.copies[next];
        if (copy.source.compare(0, facts.selectedTypes[k].size() + 1,
                                facts.selectedTypes[k] + "\\") != 0) {
          broken.push_back("copy outside its type folder: " + copy.source);
        }
        if (copy.succeeded) {
          ++typeSuccesses;
        } else {
          failures.push_back(copy.source);
        }
      }
      expected +=
          ExpectedTypeLog(static_cast<int>(k + 1), facts.selectedTypes[k], failures, typeSuccesses);
    }
    if (next != facts.copies.size()) {
      broken.push_back(std::to_string(facts.copies.size() - next) + " copies not in the log");
    }
    if (log != expected) broken.push_back("log differs from the copies' outcome");
  }
  return broken;
}

}  // namespace vx::testing
