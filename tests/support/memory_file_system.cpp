#include "memory_file_system.h"

#include <algorithm>
#include <cctype>

#include "core/in_out_error.h"

namespace vx::testing {

struct MemoryFileSystem::Node {
  std::string name;
  bool isFolder = false;
  std::uint32_t attributes = 0;
  std::string content;
  std::uint64_t stamp = 0;
  Node* parent = nullptr;
  std::vector<std::unique_ptr<Node>> children;

  Node* Child(const std::string& key) const {
    for (const auto& child : children) {
      if (FoldCase(child->name) == key) return child.get();
    }
    return nullptr;
  }
  static std::string FoldCase(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return folded;
  }
};

struct MemoryFileSystem::Resolved {
  char drive = 0;
  std::vector<std::string> components;  // as written, trailing dots and spaces dropped
};

namespace {

bool HasInvalidCharacter(const std::string& component) {
  for (unsigned char c : component) {
    if (c < 32 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' || c == '*')
      return true;
  }
  return false;
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

MemoryFileSystem::MemoryFileSystem(LeadBytes lead) : lead_(lead) {
  auto root = std::make_unique<Node>();
  root->isFolder = true;
  root->attributes = kAttrDirectory;
  drives_['C'] = std::move(root);
}

MemoryFileSystem::~MemoryFileSystem() = default;

const char* OperationName(MemoryFileSystem::Operation operation) {
  switch (operation) {
    case MemoryFileSystem::Operation::kOpenListing: return "OpenListing";
    case MemoryFileSystem::Operation::kListingNext: return "ListingNext";
    case MemoryFileSystem::Operation::kForceDirectories: return "ForceDirectories";
    case MemoryFileSystem::Operation::kCopy: return "Copy";
    case MemoryFileSystem::Operation::kCreateOutput: return "CreateOutput";
    case MemoryFileSystem::Operation::kWriteOutput: return "WriteOutput";
    case MemoryFileSystem::Operation::kCloseOutput: return "CloseOutput";
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
  auto finish = [&]() {
    while (!component.empty() && (component.back() == '.' || component.back() == ' ')) {
      if (component == "." || component == "..") break;
      component.pop_back();
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
      finish();
    } else {
      component.append(path, pos, length);
    }
    pos += length;
  }
  finish();
  for (const std::string& c : resolved.components) {
    if (HasInvalidCharacter(c)) return false;
  }
  return true;
}

MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path) const {
  Resolved resolved;
  if (!Resolve(path, resolved)) return nullptr;
  auto drive = drives_.find(resolved.drive);
  if (drive == drives_.end()) return nullptr;
  Node* node = drive->second.get();
  for (const std::string& component : resolved.components) {
    if (!node->isFolder) return nullptr;
    node = node->Child(Node::FoldCase(component));
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
    Node* child = node->Child(Node::FoldCase(resolved.components[i]));
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
  AddFolder(JoinPath(resolved.drive, resolved.components));
  Node* folder = Find(JoinPath(resolved.drive, resolved.components));
  if (!folder || !folder->isFolder || folder->Child(Node::FoldCase(name))) return;
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

bool MemoryFileSystem::Exists(const std::string& path) const { return Find(path) != nullptr; }

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
      all.push_back(FileInfo{path, child->isFolder, child->attributes, child->content, child->stamp});
      if (child->isFolder) walk(*child, path);
    }
  };
  for (const auto& [drive, root] : drives_) walk(*root, std::string(1, drive) + ":");
  return all;
}

std::unique_ptr<FolderListing> MemoryFileSystem::OpenListing(const std::string& folder) {
  const bool faulted = Faulted(Operation::kOpenListing, folder);
  Node* node = faulted ? nullptr : Find(folder);
  std::vector<DirEntry> entries;
  if (node && node->isFolder) {
    if (node->parent) {
      entries.push_back(DirEntry{".", kAttrDirectory});
      entries.push_back(DirEntry{"..", kAttrDirectory});
    }
    for (const auto& child : node->children) entries.push_back(DirEntry{child->name, child->attributes});
  }
  const bool ok = !entries.empty();
  Record(Operation::kOpenListing, folder, "", ok);
  if (!ok) return nullptr;
  return std::make_unique<Listing>(*this, std::move(entries));
}

bool MemoryFileSystem::ForceDirectories(const std::string& folder) {
  bool ok = false;
  if (!Faulted(Operation::kForceDirectories, folder)) MakeFolders(folder, kAttrDirectory, ok);
  Record(Operation::kForceDirectories, folder, "", ok);
  return ok;
}

bool MemoryFileSystem::CopyFileFailIfExists(const std::string& source,
                                            const std::string& destination) {
  bool ok = false;
  if (!Faulted(Operation::kCopy, source)) {
    Node* from = Find(source);
    Resolved target;
    if (from && !from->isFolder && Resolve(destination, target) && !target.components.empty() &&
        !Find(destination)) {
      const std::string name = target.components.back();
      target.components.pop_back();
      Node* folder = Find(JoinPath(target.drive, target.components));
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
    resolved.components.pop_back();
    Node* folder = Find(JoinPath(resolved.drive, resolved.components));
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
