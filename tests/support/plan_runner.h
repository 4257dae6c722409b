#pragma once

// Runs one planned collection on one file system: builds it, lists and ticks the types the way the
// window does, takes a picture, runs the engine through a recording layer and takes another
// picture. The same steps on the in-memory model and on Wine make the two runs comparable.

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "core/copy_run.h"
#include "core/in_out_error.h"
#include "core/type_selection.h"
#include "memory_file_system.h"
#include "random_collection.h"
#include "recording_file_system.h"
#include "run_invariants.h"

namespace vx::testing {

// Every third seed writes the log in small blocks of varying size: the bytes must not change.
inline CopyRunOptions OptionsForSeed(std::uint64_t seed) {
  CopyRunOptions options;
  if (seed % 3 == 0) options.logBlockSize = 1 + seed % 61;
  return options;
}

// A number from the environment (seed counts for a longer soak), or `fallback`.
inline std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

// Where a plan is built and pictured: the in-memory model or real folders.
class CollectionSink {
 public:
  virtual ~CollectionSink() = default;
  virtual void AddFolder(const std::string& path, std::uint32_t attributes) = 0;
  virtual void AddFile(const std::string& path, const std::string& content,
                       std::uint32_t attributes) = 0;
  virtual void Remove(const std::string& path) = 0;
  virtual Tree Snapshot(const std::string& base) = 0;
};

class MemorySink : public CollectionSink {
 public:
  explicit MemorySink(MemoryFileSystem& fs) : fs_(fs) {}
  void AddFolder(const std::string& path, std::uint32_t attributes) override {
    fs_.AddFolder(path, attributes);
  }
  void AddFile(const std::string& path, const std::string& content,
               std::uint32_t attributes) override {
    fs_.AddFile(path, content, attributes);
  }
  void Remove(const std::string& path) override { fs_.Remove(path); }
  Tree Snapshot(const std::string& base) override {
    Tree tree;
    for (const auto& info : fs_.Snapshot()) {
      if (info.path != base && info.path.compare(0, base.size() + 1, base + "\\") != 0) continue;
      tree[info.path] = TreeEntry{info.isFolder, info.attributes, info.content, info.stamp};
    }
    return tree;
  }

 private:
  MemoryFileSystem& fs_;
};

struct PlanOutcome {
  std::vector<std::string> typeNames;  // as the type checklist showed them
  RunFacts facts;
  int completions = 0;
  std::string error;  // the InOutError text, when the run was abandoned
  std::vector<std::string> broken;
};

inline void BuildPlan(const CollectionPlan& plan, CollectionSink& sink) {
  for (const PlannedItem& item : plan.items) {
    if (item.isFolder) {
      sink.AddFolder(item.path, item.attributes);
    } else {
      sink.AddFile(item.path, item.content, item.attributes);
    }
  }
}

// Builds the plan, fills the type checklist from the root as it was at selection, ticks it and
// takes the selected type list from it, then removes what the plan removes after the selection.
inline void PreparePlan(const CollectionPlan& plan, FileSystem& fs, CollectionSink& sink,
                        PlanOutcome& outcome) {
  BuildPlan(plan, sink);
  outcome.typeNames = ListTypeFolders(fs, plan.rootAtSelection);
  std::vector<TypeChoice> choices;
  for (std::size_t i = 0; i < outcome.typeNames.size(); ++i) {
    choices.push_back(TypeChoice{outcome.typeNames[i], plan.ticks[i % plan.ticks.size()]});
  }
  outcome.facts.selectedTypes = BuildSelectedTypeList(plan.rootAtSelection, choices);
  for (const std::string& removed : plan.removeAfterSelection) sink.Remove(removed);
  outcome.facts.folders = plan.folders;
}

// Runs the engine on a prepared plan and checks the rules.
inline void ExecutePlan(const CollectionPlan& plan, FileSystem& fs, CollectionSink& sink,
                        const LeadBytes& lead, const CopyRunOptions& options,
                        PlanOutcome& outcome) {
  outcome.facts.before = sink.Snapshot(plan.base);
  RecordingFileSystem recording(fs);
  try {
    RunCopy(
        recording, lead, outcome.facts.selectedTypes, plan.folders, [&] { ++outcome.completions; },
        options);
    outcome.facts.completed = true;
  } catch (const InOutError& error) {
    outcome.error = error.what();
  }
  outcome.facts.copies = recording.Copies();
  outcome.facts.after = sink.Snapshot(plan.base);
  outcome.broken = CheckRunInvariants(outcome.facts, lead);
  if (outcome.facts.completed && outcome.completions != 1) {
    outcome.broken.push_back("completion shown " + std::to_string(outcome.completions) + " times");
  }
}

inline PlanOutcome RunPlan(const CollectionPlan& plan, FileSystem& fs, CollectionSink& sink,
                           const LeadBytes& lead, const CopyRunOptions& options = {}) {
  PlanOutcome outcome;
  PreparePlan(plan, fs, sink, outcome);
  ExecutePlan(plan, fs, sink, lead, options, outcome);
  return outcome;
}

// The engine once more on what the previous run left, with the same selection and folders: a
// second run into the same output. Whatever the first run copied must now fail.
inline PlanOutcome RunAgain(const CollectionPlan& plan, FileSystem& fs, CollectionSink& sink,
                            const LeadBytes& lead, const PlanOutcome& previous,
                            const CopyRunOptions& options = {}) {
  PlanOutcome again;
  again.typeNames = previous.typeNames;
  again.facts.selectedTypes = previous.facts.selectedTypes;
  again.facts.folders = previous.facts.folders;
  ExecutePlan(plan, fs, sink, lead, options, again);
  std::vector<std::string> copiedBefore;
  for (const auto& copy : previous.facts.copies) {
    if (copy.succeeded) copiedBefore.push_back(CanonicalPath(copy.destination, lead));
  }
  for (const auto& copy : again.facts.copies) {
    const std::string destination = CanonicalPath(copy.destination, lead);
    for (const std::string& earlier : copiedBefore) {
      if (copy.succeeded && destination == earlier) {
        again.broken.push_back("second run copied over " + copy.destination);
      }
    }
  }
  return again;
}

}  // namespace vx::testing
