#pragma once

// Random ROM collections built from a seed out of the names and shapes that have caught file tools
// out before, and the one run that goes with each: the same seed always gives the same collection,
// so a failing seed can be replayed on its own.

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "core/copy_run.h"
#include "core/dir_entry.h"
#include "gbk.h"

namespace vx::testing {

struct PlannedItem {
  std::string path;  // single separators, no trailing dots unless the point is to lose them
  bool isFolder = false;
  std::uint32_t attributes = 0;
  std::string content;
};

struct CollectionPlan {
  std::uint64_t seed = 0;
  std::string base;                // everything lives under it
  std::vector<PlannedItem> items;  // parents before children
  std::string rootAtSelection;     // the companion root when the types were listed and ticked
  std::vector<bool> ticks;         // applied to the listed types in turn, repeated as needed
  std::vector<std::string> removeAfterSelection;  // type folders gone before the run starts
  CopyRunFolders folders;                         // the paths as the run reads them

  std::string Describe() const {
    std::ostringstream text;
    text << "seed " << seed << "\n  root at selection: " << rootAtSelection
         << "\n  root at run: " << folders.companionRoot << "\n  ROM folder: " << folders.romFolder
         << "\n  output folder: " << folders.outputFolder << "\n  ticks:";
    for (bool tick : ticks) text << (tick ? " x" : " -");
    for (const std::string& removed : removeAfterSelection) text << "\n  removed: " << removed;
    for (const PlannedItem& item : items) {
      text << "\n  " << (item.isFolder ? "D " : "F ") << std::hex << item.attributes << std::dec
           << " " << item.path;
    }
    return text.str();
  }
};

// A small deterministic generator (the standard distributions may differ between libraries).
class SeededRandom {
 public:
  explicit SeededRandom(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  std::uint64_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }
  int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& from) {
    return from[static_cast<std::size_t>(Below(static_cast<int>(from.size())))];
  }

 private:
  std::uint64_t state_;
};

inline std::size_t GbkCharacters(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) {
    pos += static_cast<unsigned char>(text[pos]) >= 0x81 && pos + 1 < text.size() ? 2 : 1;
  }
  return count;
}

class CollectionGenerator {
 public:
  static constexpr char kBase[] = "T:\\dr";

  CollectionPlan Generate(std::uint64_t seed) {
    random_ = SeededRandom(seed);
    plan_ = CollectionPlan();
    plan_.seed = seed;
    plan_.base = kBase;
    Folder(plan_.base);

    // 誠 運 錦 end in the byte 0x5C; 誂 and 誥 differ only in a trail byte that is "A" or "a";
    // 諀 and 皘 have the trail byte "|".
    stems_ = {"game1",   "Game2",       "a",         "x y",     "b_c",
              "t[1]",    "~z",          "zip",       "ZIP",     Gbk("誠"),
              Gbk("運"), Gbk("錦標誠"), Gbk("游戏"), Gbk("誂"), Gbk("誥"),
              Gbk("諀"), Gbk("皘"),     Gbk("啊"),   Gbk("站"), "q" + Gbk("運") + "1"};
    const std::vector<std::string> typeNames = {
        "A",       "B",         "snap",    Gbk("運"), Gbk("錦標"), Gbk("誂"),
        Gbk("誥"), Gbk("諀图"), "Title s", "box.art", "a.zip",     "img_" + Gbk("誠")};
    const std::vector<std::string> extensions = {".png", ".png", ".jpg",    ".PNG",         ".txt",
                                                 "",     ".zip", ".tar.gz", "." + Gbk("誠")};

    // The exe folder, sometimes with the log of an earlier run.
    Folder(plan_.base + "\\app");
    if (random_.Chance(30)) File(plan_.base + "\\app\\logo.txt", "old log", kAttrArchive);
    plan_.folders.exeFolder = plan_.base + "\\app\\";

    // Long paths: one of the three folders is pushed towards the 260-character limit.
    const int longMode = random_.Chance(30) ? 1 + random_.Below(3) : 0;

    // Companion root and its type folders.
    std::string rootParent = plan_.base;
    if (longMode == 1) rootParent = Padding(plan_.base, 225 + random_.Below(34));
    const std::string root =
        rootParent + "\\" +
        random_.Pick(std::vector<std::string>{Gbk("周边誠"), "M", Gbk("運 root"), "companions",
                                              kOutputRootName});
    Folder(root);
    const int typeCount = 1 + random_.Below(4);
    std::vector<std::string> usedTypes;
    std::vector<std::string> typeExtensions;
    for (int t = 0; t < typeCount; ++t) {
      const std::string name = random_.Pick(typeNames);
      bool taken = false;
      for (const std::string& used : usedTypes) taken = taken || SameName(used, name);
      if (taken) continue;
      usedTypes.push_back(name);
      const std::uint32_t attributes = random_.Chance(80)   ? kAttrDirectory
                                       : random_.Chance(50) ? (kAttrDirectory | kAttrHidden)
                                                            : (kAttrDirectory | kAttrSystem);
      Folder(root + "\\" + name, attributes);
      typeExtensions.push_back(random_.Pick(extensions));
    }

    // ROM folder.
    std::string romParent = plan_.base;
    const std::string romName = random_.Pick(std::vector<std::string>{
        Gbk("游戏"), "R", "roms" + Gbk("誠"), Gbk("錦") + "\\" + Gbk("運")});
    const std::string roms = romParent + "\\" + romName;
    if (romName == Gbk("錦") + "\\" + Gbk("運")) Folder(romParent + "\\" + Gbk("錦"));
    Folder(roms);
    std::vector<std::string> romNames;
    const int romCount = random_.Below(8);
    for (int r = 0; r < romCount; ++r) {
      std::string name = StoredName(RomName(longMode == 3));
      std::uint32_t attributes = kAttrArchive;
      if (random_.Chance(15)) attributes |= kAttrHidden;
      if (random_.Chance(10)) attributes |= kAttrSystem;
      if (random_.Chance(10)) attributes |= kAttrReadOnly;
      if (name[0] == '.') attributes |= kAttrHidden;  // Wine shows every dot name as hidden
      File(roms + "\\" + name, "rom " + name, attributes);
      romNames.push_back(name);
    }
    if (random_.Chance(40)) Folder(roms + "\\sub");
    if (random_.Chance(30)) {
      // A folder with a further attribute bit counts as a ROM.
      const std::string name = random_.Pick(stems_) + (random_.Chance(50) ? ".zip" : "");
      Folder(roms + "\\" + name, kAttrDirectory | kAttrHidden);
      romNames.push_back(name);
    }

    // Companions in each type folder: mostly named after a ROM, sometimes in another letter case,
    // sometimes a decoy that sorts first and decides the type, or only sub-folders, or nothing.
    for (std::size_t t = 0; t < usedTypes.size(); ++t) {
      const std::string folder = root + "\\" + usedTypes[t];
      const int shape = random_.Below(10);
      if (shape == 0) continue;  // empty: the type extension becomes "."
      if (shape == 1) {
        Folder(folder + "\\" +
                   random_.Pick(std::vector<std::string>{"sub", "a.b", Gbk("誠") + ".d", "zz"}),
               random_.Chance(50) ? kAttrDirectory : kAttrDirectory | kAttrHidden);
        continue;
      }
      if (random_.Chance(25)) {
        const std::string decoy = random_.Pick(std::vector<std::string>{
            "Thumbs.db", "!readme.txt", "_x.bmp", "0.gif", "AAA.ico", "desktop.ini", "0sub"});
        if (decoy == "0sub") {
          Folder(folder + "\\" + decoy);
        } else {
          File(folder + "\\" + decoy, "decoy",
               random_.Chance(50) ? kAttrArchive : kAttrArchive | kAttrHidden | kAttrSystem);
        }
      }
      for (const std::string& rom : romNames) {
        if (!random_.Chance(60)) continue;
        std::string companion = StoredName(ReplaceZip(rom, typeExtensions[t]));
        if (random_.Chance(15)) companion = UpperAscii(companion);
        if (companion.empty() || companion == "." || companion == "..") continue;
        std::uint32_t attributes = kAttrArchive;
        if (random_.Chance(10)) attributes |= kAttrHidden | kAttrSystem;
        if (random_.Chance(10)) attributes |= kAttrReadOnly;
        if (companion[0] == '.') attributes |= kAttrHidden;
        File(folder + "\\" + companion, "companion " + companion + " of " + usedTypes[t],
             attributes);
      }
    }

    // Output folder.
    std::string output;
    switch (random_.Below(9)) {
      case 0:
        File(plan_.base + "\\blocker", "a file where a folder is wanted", kAttrArchive);
        output = plan_.base + "\\blocker\\out";
        break;
      case 1:
        // Refused by Windows and Wine alike (Wine 8 accepts ":" inside a name, Windows does not).
        output = plan_.base + (random_.Chance(50) ? "\\o|ut" : "\\o<ut>");
        break;
      case 2:
        output = roms;
        break;
      case 3:
        // Beside the companion root; when the root is itself called QUELBRINOUTPUT, every
        // destination is its own source.
        output = rootParent;
        break;
      default:
        output = plan_.base + "\\" +
                 random_.Pick(std::vector<std::string>{Gbk("输出"), "O", "out" + Gbk("誠"),
                                                       kOutputRootName});
        if (longMode == 2) output = Padding(plan_.base, 215 + random_.Below(45));
        if (random_.Chance(50)) {
          Folder(output);
          // Companions from an earlier run, which must survive untouched.
          for (std::size_t t = 0; t < usedTypes.size(); ++t) {
            for (const std::string& rom : romNames) {
              if (!random_.Chance(25)) continue;
              const std::string companion = StoredName(ReplaceZip(rom, typeExtensions[t]));
              if (companion.empty() || companion[0] == '.') continue;
              Folder(output + "\\" + kOutputRootName);
              Folder(output + "\\" + kOutputRootName + "\\" + usedTypes[t]);
              File(output + "\\" + kOutputRootName + "\\" + usedTypes[t] + "\\" + companion,
                   "earlier copy",
                   random_.Chance(20) ? kAttrArchive | kAttrReadOnly : kAttrArchive);
            }
          }
        }
    }

    // Selection, and what may have changed between the selection and the run.
    plan_.rootAtSelection = WithOddSeparators(root);
    const int tickCount = 1 + random_.Below(6);
    for (int i = 0; i < tickCount; ++i) plan_.ticks.push_back(random_.Chance(65));
    if (!usedTypes.empty() && random_.Chance(10)) {
      plan_.removeAfterSelection.push_back(root + "\\" + random_.Pick(usedTypes));
    }
    plan_.folders.companionRoot = plan_.rootAtSelection;
    switch (random_.Below(12)) {
      case 0:
        plan_.folders.companionRoot = rootParent;
        break;  // a folder above
      case 1:
        plan_.folders.companionRoot = roms;
        break;  // unrelated
      case 2:
        plan_.folders.companionRoot = UpperAscii(root);
        break;  // other letter case
      case 3:
        plan_.folders.companionRoot = root + "\\";
        break;  // drive-root style
      case 4:
        // No folder chosen: every "\\" leaves the type path, which becomes one long name. Wine
        // on Linux cannot hold a name beyond 255 UTF-8 bytes (it cuts folder names short and
        // fails files), so this stays with roots short enough for the host.
        if (GbkCharacters(root) < 60) plan_.folders.companionRoot = "";
        break;
      default:
        break;
    }
    plan_.folders.romFolder = WithOddSeparators(roms);
    plan_.folders.outputFolder = WithOddSeparators(output);
    return plan_;
  }

 private:
  void Folder(const std::string& path, std::uint32_t attributes = kAttrDirectory) {
    plan_.items.push_back(PlannedItem{path, true, attributes, ""});
  }
  void File(const std::string& path, const std::string& content, std::uint32_t attributes) {
    plan_.items.push_back(PlannedItem{path, false, attributes, content});
  }

  // Folders padded out so that `parent` plus them comes to about `length` characters, each
  // component short enough for the host's 255-byte name limit.
  std::string Padding(const std::string& parent, std::size_t length) {
    std::string path = parent;
    int level = 0;
    while (GbkCharacters(path) + 2 < length) {
      const std::size_t room = length - GbkCharacters(path) - 1;
      std::size_t take = room > 40 ? 20 + static_cast<std::size_t>(random_.Below(20)) : room;
      std::string component = "p" + std::to_string(level++);
      while (GbkCharacters(component) < take) {
        component += random_.Chance(20) && GbkCharacters(component) + 1 < take ? Gbk("誠") : "x";
      }
      path += "\\" + component;
      Folder(path);
    }
    return path;
  }

  std::string RomName(bool long_name) {
    if (random_.Chance(8)) {
      return random_.Pick(std::vector<std::string>{".zip", "a.zip.zip", "..zip", ".zip.zip"});
    }
    std::string stem = random_.Pick(stems_);
    if (long_name) stem += std::string(150 + static_cast<std::size_t>(random_.Below(60)), 'l');
    static const std::vector<std::string> suffixes = {
        ".zip",  ".zip",     ".zip",    ".zip", ".ZIP",
        ".Zip",  ".zip.zip", ".zip.7z", ".7z",  "",
        ".zip.", ".zip ",    ".zipx",   "zip",  "." + Gbk("誠") + ".zip"};
    return stem + random_.Pick(suffixes);
  }

  std::string WithOddSeparators(const std::string& path) {
    if (random_.Chance(12)) return path + "\\";  // the way a drive's top folder comes
    if (random_.Chance(8) && path.size() > plan_.base.size()) {
      return plan_.base + "\\" + path.substr(plan_.base.size());  // a doubled separator inside
    }
    return path;
  }

  // The name a file really gets: Windows drops the trailing dots and spaces of the last component.
  // Set-up paths beyond 260 characters are made through "\\?\" where nothing is dropped, so the
  // plan spells every name the way it will be stored.
  static std::string StoredName(std::string name) {
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    return name;
  }

  static bool SameName(const std::string& a, const std::string& b) {
    return UpperAscii(a) == UpperAscii(b);
  }
  // ASCII letters only, never a byte of a double-byte character.
  static std::string UpperAscii(const std::string& text) {
    std::string upper = text;
    for (std::size_t pos = 0; pos < upper.size();) {
      if (static_cast<unsigned char>(upper[pos]) >= 0x81 && pos + 1 < upper.size()) {
        pos += 2;
        continue;
      }
      if (upper[pos] >= 'a' && upper[pos] <= 'z') upper[pos] = static_cast<char>(upper[pos] - 32);
      ++pos;
    }
    return upper;
  }
  // The engine's replacement, spelled out again here so the generator can aim at companions.
  static std::string ReplaceZip(const std::string& name, const std::string& extension) {
    std::string result;
    for (std::size_t pos = 0; pos < name.size();) {
      if (name.compare(pos, 4, ".zip") == 0) {
        result += extension;
        pos += 4;
      } else {
        const std::size_t length =
            static_cast<unsigned char>(name[pos]) >= 0x81 && pos + 1 < name.size() ? 2 : 1;
        result.append(name, pos, length);
        pos += length;
      }
    }
    return result;
  }

  SeededRandom random_{0};
  CollectionPlan plan_;
  std::vector<std::string> stems_;
};

}  // namespace vx::testing
