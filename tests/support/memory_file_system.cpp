#include "memory_file_system.h"

#include <algorithm>
#include <cctype>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include "core/in_out_error.h"
#include "core/path_text.h"

namespace vx::testing {

struct MemoryFileSystem::Node {
  std::string name;
  bool isFolder = false;
  std::uint32_t attributes = 0;
  std::string content;
  std::uint64_t stamp = 0;
  Node* parent = nullptr;
  std::vector<std::unique_ptr<Node>> children;
};

struct MemoryFileSystem::Resolved {
  char drive = 0;
  std::vector<std::string> components;  // as written, trailing dots and spaces dropped
};

namespace {

bool HasInvalidCharacter(const std::string& component, const LeadBytes& lead, bool colonAllowed) {
  for (std::size_t pos = 0; pos < component.size(); pos += lead.CharLength(component, pos)) {
    if (lead.CharLength(component, pos) != 1) continue;  // a trail byte may well be "|"
    const unsigned char c = static_cast<unsigned char>(component[pos]);
    if (c == ':' && colonAllowed) continue;
    if (c < 32 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' || c == '*')
      return true;
  }
  return false;
}

// The UTF-16 text of a code page 936 name, the key Wine sorts a folder's entries by.
std::u16string Utf16FromGbk(const std::string& gbk) {
  if (gbk.empty()) return std::u16string();
#ifdef _WIN32
  const int size =
      ::MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), size);
  return std::u16string(wide.begin(), wide.end());
#else
  iconv_t converter = ::iconv_open("UTF-16LE", "GBK");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::u16string(gbk.begin(), gbk.end());
  std::string input = gbk;
  std::string output(gbk.size() * 2 + 4, '\0');
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size();
  std::size_t outLeft = output.size();
  ::iconv(converter, &in, &inLeft, &out, &outLeft);
  ::iconv_close(converter);
  output.resize(output.size() - outLeft);
  std::u16string text;
  for (std::size_t i = 0; i + 1 < output.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(output[i]) |
                                         static_cast<unsigned char>(output[i + 1]) << 8));
  }
  return text;
#endif
}

// Wine compares upper-cased UTF-16 text first and the exact text only to break a tie.
bool WineNameLess(const std::u16string& a, const std::u16string& b) {
  auto upper = [](char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
  };
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (upper(a[i]) != upper(b[i])) return upper(a[i]) < upper(b[i]);
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

std::string JoinPath(char drive, const std::vector<std::string>& components) {
  std::string path(1, drive);
  path += ":";
  for (const std::string& component : components) path += "\\" + component;
  if (components.empty()) path += "\\";
  return path;
}

}  // namespace

class MemoryFileSystem::Listing : public FolderListing {
 public:
  Listing(MemoryFileSystem& owner, std::vector<DirEntry> entries)
      : owner_(owner), entries_(std::move(entries)) {
    ++owner_.openListings_;
  }
  ~Listing() override { --owner_.openListings_; }
  bool Next(DirEntry& entry) override {
    if (next_ >= entries_.size()) return false;
    if (owner_.Faulted(Operation::kListingNext, entries_[next_].name)) {
      next_ = entries_.size();
      return false;
    }
    entry = entries_[next_++];
    return true;
  }

 private:
  MemoryFileSystem& owner_;
  std::vector<DirEntry> entries_;
  std::size_t next_ = 0;
};

class MemoryFileSystem::Output : public OutputFile {
 public:
  Output(MemoryFileSystem& owner, Node* node, std::string path)
      : owner_(owner), node_(node), path_(std::move(path)) {
    ++owner_.openOutputs_;
  }
  ~Output() override {
    if (open_) --owner_.openOutputs_;
  }
  void Write(const char* bytes, std::size_t size) override {
    const bool failed = !open_ || owner_.Faulted(Operation::kWriteOutput, path_);
    owner_.Record(Operation::kWriteOutput, path_, std::string(bytes, size), !failed);
    if (failed) throw InOutError(open_ ? owner_.outputErrorCode : 103);
    node_->content.append(bytes, size);
    node_->stamp = ++owner_.clock_;
  }
  void Close() override {
    const bool failed = !open_ || owner_.Faulted(Operation::kCloseOutput, path_);
    owner_.Record(Operation::kCloseOutput, path_, "", !failed);
    if (open_) {
      open_ = false;
      --owner_.openOutputs_;
    }
    if (failed) throw InOutError(owner_.outputErrorCode);
  }

 private:
  MemoryFileSystem& owner_;
  Node* node_;
  std::string path_;
  bool open_ = true;
};

MemoryFileSystem::MemoryFileSystem(LeadBytes lead, Behaviour behaviour)
    : lead_(lead), behaviour_(behaviour) {
  auto root = std::make_unique<Node>();
  root->isFolder = true;
  root->attributes = kAttrDirectory;
  drives_['C'] = std::move(root);
}

MemoryFileSystem::~MemoryFileSystem() = default;

const char* OperationName(MemoryFileSystem::Operation operation) {
  switch (operation) {
    case MemoryFileSystem::Operation::kOpenListing:
      return "OpenListing";
    case MemoryFileSystem::Operation::kListingNext:
      return "ListingNext";
    case MemoryFileSystem::Operation::kForceDirectories:
      return "ForceDirectories";
    case MemoryFileSystem::Operation::kCopy:
      return "Copy";
    case MemoryFileSystem::Operation::kCreateOutput:
      return "CreateOutput";
    case MemoryFileSystem::Operation::kWriteOutput:
      return "WriteOutput";
    case MemoryFileSystem::Operation::kCloseOutput:
      return "CloseOutput";
  }
  return "?";
}

bool MemoryFileSystem::Faulted(Operation operation, const std::string& path) {
  const int index = callCounts_[operation]++;
  return fault && fault(operation, path, index);
}

void MemoryFileSystem::Record(Operation operation, const std::string& path,
                              const std::string& path2, bool ok) {
  calls_.push_back(Call{operation, path, path2, ok});
}

std::vector<MemoryFileSystem::Call> MemoryFileSystem::CallsOf(Operation operation) const {
  std::vector<Call> selected;
  for (const Call& call : calls_) {
    if (call.operation == operation) selected.push_back(call);
  }
  return selected;
}

bool MemoryFileSystem::Resolve(const std::string& path, Resolved& resolved) const {
  std::size_t pos = 0;
  resolved.drive = currentDrive_;
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    resolved.drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    pos = 2;
  } else if (path.compare(0, 2, "\\\\") == 0) {
    return false;  // a network path; no servers here
  }
  // Relative paths count from the drive's top folder, the only current folder this model has.
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
      if (!resolved.components.empty()) resolved.components.pop_back();
    } else if (!component.empty() && component != ".") {
      resolved.components.push_back(component);
    }
    component.clear();
  };
  while (pos < path.size()) {
    const std::size_t length = lead_.CharLength(path, pos);
    if (length == 1 && path[pos] == '\\') {
      finish(false);
    } else {
      component.append(path, pos, length);
    }
    pos += length;
  }
  finish(true);
  for (const std::string& c : resolved.components) {
    if (HasInvalidCharacter(c, lead_, behaviour_.colonInNames)) return false;
  }
  return true;
}

std::size_t MemoryFileSystem::Characters(const std::string& path) const {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < path.size(); pos += lead_.CharLength(path, pos)) ++count;
  return count;
}

bool MemoryFileSystem::TooLong(const std::string& path) const {
  return behaviour_.maxPath != 0 && Characters(path) > behaviour_.maxPath;
}

// ASCII letters only, and never a byte of a double-byte character: 誥 (D5 61) and 誂 (D5 41) are
// two different names.
std::string MemoryFileSystem::FoldCase(const std::string& name) const {
  std::string folded = name;
  for (std::size_t pos = 0; pos < folded.size(); pos += lead_.CharLength(folded, pos)) {
    if (lead_.CharLength(folded, pos) == 1 && folded[pos] >= 'a' && folded[pos] <= 'z') {
      folded[pos] = static_cast<char>(folded[pos] - 'a' + 'A');
    }
  }
  return folded;
}

MemoryFileSystem::Node* MemoryFileSystem::Child(const Node& folder, const std::string& name) const {
  const std::string key = FoldCase(name);
  for (const auto& child : folder.children) {
    if (FoldCase(child->name) == key) return child.get();
  }
  return nullptr;
}

MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path) const {
  Resolved resolved;
  if (!Resolve(path, resolved)) return nullptr;
  return Walk(resolved, resolved.components.size());
}

// The node the first `count` resolved components lead to, without resolving the names again.
MemoryFileSystem::Node* MemoryFileSystem::Walk(const Resolved& resolved, std::size_t count) const {
  auto drive = drives_.find(resolved.drive);
  if (drive == drives_.end()) return nullptr;
  Node* node = drive->second.get();
  for (std::size_t i = 0; i < count; ++i) {
    if (!node->isFolder) return nullptr;
    node = Child(*node, resolved.components[i]);
    if (!node) return nullptr;
  }
  return node;
}

MemoryFileSystem::Node* MemoryFileSystem::MakeFolders(const std::string& path,
                                                      std::uint32_t attributes, bool& ok) {
  ok = false;
  Resolved resolved;
  if (!Resolve(path, resolved)) return nullptr;
  auto drive = drives_.find(resolved.drive);
  if (drive == drives_.end()) return nullptr;
  Node* node = drive->second.get();
  for (std::size_t i = 0; i < resolved.components.size(); ++i) {
    Node* child = Child(*node, resolved.components[i]);
    if (!child) {
      auto made = std::make_unique<Node>();
      made->name = resolved.components[i];
      made->isFolder = true;
      made->attributes = i + 1 == resolved.components.size() ? attributes : kAttrDirectory;
      made->stamp = ++clock_;
      made->parent = node;
      child = made.get();
      node->children.push_back(std::move(made));
    } else if (!child->isFolder) {
      return nullptr;
    }
    node = child;
  }
  ok = true;
  return node;
}

void MemoryFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
  Resolved resolved;
  if (Resolve(path, resolved) && !drives_.count(resolved.drive)) {
    auto root = std::make_unique<Node>();
    root->isFolder = true;
    root->attributes = kAttrDirectory;
    drives_[resolved.drive] = std::move(root);
  }
  bool ok = false;
  Node* node = MakeFolders(path, attributes, ok);
  if (node) node->attributes = attributes;
}

void MemoryFileSystem::AddFile(const std::string& path, const std::string& content,
                               std::uint32_t attributes) {
  Resolved resolved;
  if (!Resolve(path, resolved) || resolved.components.empty()) return;
  const std::string name = resolved.components.back();
  resolved.components.pop_back();
  // Missing folders above are made; folders already there keep their attributes.
  if (!drives_.count(resolved.drive)) AddFolder(JoinPath(resolved.drive, {}));
  bool made = false;
  MakeFolders(JoinPath(resolved.drive, resolved.components), kAttrDirectory, made);
  Node* folder = Walk(resolved, resolved.components.size());
  if (!folder || !folder->isFolder || Child(*folder, name)) return;
  auto file = std::make_unique<Node>();
  file->name = name;
  file->attributes = attributes;
  file->content = content;
  file->stamp = ++clock_;
  file->parent = folder;
  folder->children.push_back(std::move(file));
}

bool MemoryFileSystem::Remove(const std::string& path) {
  Node* node = Find(path);
  if (!node || !node->parent) return false;
  auto& siblings = node->parent->children;
  siblings.erase(std::remove_if(siblings.begin(), siblings.end(),
                                [node](const std::unique_ptr<Node>& n) { return n.get() == node; }),
                 siblings.end());
  return true;
}

bool MemoryFileSystem::Exists(const std::string& path) const {
  return Find(path) != nullptr;
}

bool MemoryFileSystem::IsFolder(const std::string& path) const {
  Node* node = Find(path);
  return node && node->isFolder;
}

std::string MemoryFileSystem::Content(const std::string& path) const {
  Node* node = Find(path);
  return node && !node->isFolder ? node->content : std::string();
}

std::vector<MemoryFileSystem::FileInfo> MemoryFileSystem::Snapshot() const {
  std::vector<FileInfo> all;
  std::function<void(const Node&, const std::string&)> walk = [&](const Node& folder,
                                                                  const std::string& prefix) {
    for (const auto& child : folder.children) {
      const std::string path = prefix + "\\" + child->name;
      all.push_back(
          FileInfo{path, child->isFolder, child->attributes, child->content, child->stamp});
      if (child->isFolder) walk(*child, path);
    }
  };
  for (const auto& [drive, root] : drives_) walk(*root, std::string(1, drive) + ":");
  return all;
}

std::unique_ptr<FolderListing> MemoryFileSystem::OpenListing(const std::string& folder) {
  const bool faulted = Faulted(Operation::kOpenListing, folder);
  Node* node = faulted || TooLong(folder + "\\*.*") ? nullptr : Find(folder);
  std::vector<DirEntry> entries;
  if (node && node->isFolder) {
    if (node->parent) {
      entries.push_back(DirEntry{".", kAttrDirectory});
      entries.push_back(DirEntry{"..", kAttrDirectory});
    }
    const std::size_t named = entries.size();
    for (const auto& child : node->children)
      entries.push_back(DirEntry{child->name, child->attributes});
    if (behaviour_.sortedListings) {
      std::vector<std::pair<std::u16string, DirEntry>> keyed;
      for (std::size_t i = named; i < entries.size(); ++i) {
        keyed.emplace_back(Utf16FromGbk(entries[i].name), entries[i]);
      }
      std::sort(keyed.begin(), keyed.end(),
                [](const auto& a, const auto& b) { return WineNameLess(a.first, b.first); });
      for (std::size_t i = 0; i < keyed.size(); ++i) entries[named + i] = keyed[i].second;
    }
  }
  const bool ok = !entries.empty();
  Record(Operation::kOpenListing, folder, "", ok);
  if (!ok) return nullptr;
  return std::make_unique<Listing>(*this, std::move(entries));
}

// Beyond the length limit the Win32 layer still makes every level above whose path fits (it walks
// up the text to the last separator), then fails on the first level that does not.
bool MemoryFileSystem::ForceDirectories(const std::string& folder) {
  const bool ok = !Faulted(Operation::kForceDirectories, folder) && ForceLevels(folder);
  Record(Operation::kForceDirectories, folder, "", ok);
  return ok;
}

// The Win32 layer's walk, which is the run-time's: up the text to the last "\\" or ":" until a
// folder exists, then one folder creation per level on the way back. A level beyond the length
// limit fails while the levels above it stay made; a ":" inside a name ends the walk there.
bool MemoryFileSystem::ForceLevels(const std::string& folder) {
  const std::string path = ExcludeTrailingSeparators(folder, lead_);
  if (path.size() < 3 || IsExistingFolder(path)) return true;
  const std::string parent = ExtractFilePath(path, lead_);
  if (!parent.empty() && parent != path && !ForceLevels(parent)) return false;
  return CreateOneFolder(path);
}

bool MemoryFileSystem::IsExistingFolder(const std::string& path) const {
  if (TooLong(path)) return false;
  Node* node = Find(path);
  return node && node->isFolder;
}

bool MemoryFileSystem::CreateOneFolder(const std::string& path) {
  Resolved resolved;
  if (TooLong(path) || !Resolve(path, resolved) || !drives_.count(resolved.drive)) return false;
  if (resolved.components.empty()) return true;  // a drive's top folder is always there
  Node* parent = Walk(resolved, resolved.components.size() - 1);
  if (!parent || !parent->isFolder) return false;
  if (Node* existing = Child(*parent, resolved.components.back())) return existing->isFolder;
  auto made = std::make_unique<Node>();
  made->name = resolved.components.back();
  made->isFolder = true;
  made->attributes = kAttrDirectory;
  made->stamp = ++clock_;
  made->parent = parent;
  parent->children.push_back(std::move(made));
  return true;
}

bool MemoryFileSystem::CopyFileFailIfExists(const std::string& source,
                                            const std::string& destination) {
  bool ok = false;
  const bool tooLong = TooLong(source) || (behaviour_.limitCopyDestination && TooLong(destination));
  if (!Faulted(Operation::kCopy, source) && !tooLong) {
    Node* from = Find(source);
    Resolved target;
    if (from && !from->isFolder && Resolve(destination, target) && !target.components.empty() &&
        !Find(destination)) {
      const std::string name = target.components.back();
      Node* folder = Walk(target, target.components.size() - 1);
      if (folder && folder->isFolder) {
        auto copy = std::make_unique<Node>();
        copy->name = name;
        copy->attributes = from->attributes | kAttrArchive;
        copy->content = from->content;
        copy->stamp = from->stamp;
        copy->parent = folder;
        folder->children.push_back(std::move(copy));
        ok = true;
      }
    }
  }
  Record(Operation::kCopy, source, destination, ok);
  return ok;
}

std::unique_ptr<OutputFile> MemoryFileSystem::CreateOutputFile(const std::string& path) {
  int error = 0;
  Node* file = nullptr;
  Resolved resolved;
  if (Faulted(Operation::kCreateOutput, path)) {
    error = outputErrorCode;
  } else if (TooLong(path)) {
    error = 206;
  } else if (!Resolve(path, resolved) || resolved.components.empty()) {
    error = 3;
  } else if (Node* existing = Find(path)) {
    if (existing->isFolder || existing->attributes & kAttrReadOnly) {
      error = 5;
    } else {
      file = existing;
      file->content.clear();
      file->stamp = ++clock_;
    }
  } else {
    const std::string name = resolved.components.back();
    Node* folder = Walk(resolved, resolved.components.size() - 1);
    if (!folder || !folder->isFolder) {
      error = 3;
    } else {
      auto made = std::make_unique<Node>();
      made->name = name;
      made->attributes = kAttrArchive;
      made->stamp = ++clock_;
      made->parent = folder;
      file = made.get();
      folder->children.push_back(std::move(made));
    }
  }
  Record(Operation::kCreateOutput, path, "", error == 0);
  if (error) throw InOutError(error);
  return std::make_unique<Output>(*this, file, path);
}

}  // namespace vx::testing
