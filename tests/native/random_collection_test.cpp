// Random collections through the engine on the in-memory model set up to behave like Wine: for
// every seed the run, and a second run into the same output after it, must keep every rule in
// run_invariants.h.
//
// Soak: VX_SEEDS=20000 VX_FIRST_SEED=1 build-diff-native/core_tests
// --gtest_filter='RandomCollection.*' Replay one seed: VX_FIRST_SEED=<seed> VX_SEEDS=1 with the
// same command.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/plan_runner.h"

namespace vx {
namespace {

using testing::CollectionGenerator;
using testing::CollectionPlan;
using testing::MemoryFileSystem;
using testing::MemorySink;
using testing::PlanOutcome;

TEST(RandomCollection, EveryRunKeepsTheRules) {
  const std::uint64_t first = testing::EnvNumber("VX_FIRST_SEED", 1);
  const std::uint64_t count = testing::EnvNumber("VX_SEEDS", 500);
  int failed = 0;
  std::uint64_t ran = 0;
  std::uint64_t copies = 0;
  std::uint64_t failedCopies = 0;
  std::uint64_t types = 0;
  for (std::uint64_t seed = first; seed < first + count && failed < 5; ++seed) {
    ++ran;
    const CollectionPlan plan = CollectionGenerator().Generate(seed);
    MemoryFileSystem fs(LeadBytes::Gbk(), MemoryFileSystem::WineBehaviour());
    MemorySink sink(fs);
    const PlanOutcome outcome =
        testing::RunPlan(plan, fs, sink, LeadBytes::Gbk(), testing::OptionsForSeed(seed));
    types += outcome.facts.selectedTypes.size();
    for (const auto& copy : outcome.facts.copies) {
      ++copies;
      if (!copy.succeeded) ++failedCopies;
    }
    std::string problems;
    for (const std::string& line : outcome.broken) problems += "\n  " + line;
    if (!outcome.facts.completed) problems += "\n  run abandoned: " + outcome.error;
    const PlanOutcome second = testing::RunAgain(plan, fs, sink, LeadBytes::Gbk(), outcome);
    for (const std::string& line : second.broken) problems += "\n  second run: " + line;
    if (fs.OpenListings() != 0 || fs.OpenOutputs() != 0) problems += "\n  handle left open";
    // Nothing anywhere on any drive outside the collection's own folder.
    for (const auto& info : fs.Snapshot()) {
      if (info.path.rfind(plan.base, 0) != 0) problems += "\n  made elsewhere: " + info.path;
    }
    if (!problems.empty()) {
      ++failed;
      ADD_FAILURE() << "replay with VX_FIRST_SEED=" << seed << " VX_SEEDS=1" << problems << "\n"
                    << plan.Describe();
    }
  }
  std::printf("%llu seeds: %llu types, %llu copies, %llu failed\n",
              static_cast<unsigned long long>(ran), static_cast<unsigned long long>(types),
              static_cast<unsigned long long>(copies),
              static_cast<unsigned long long>(failedCopies));
  // The generator must keep producing runs that copy and fail; a plan that never reaches the
  // engine would pass every rule above without testing anything.
  if (count >= 100) {
    EXPECT_GT(types, count / 2);
    EXPECT_GT(copies - failedCopies, count / 4);
    EXPECT_GT(failedCopies, count / 4);
  }
}

}  // namespace
}  // namespace vx
