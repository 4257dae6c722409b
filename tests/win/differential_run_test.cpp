// The same random collections built twice, on drive T: under Wine and in the in-memory model set
// up to behave like Wine, run through the engine on both: the type checklist, the copies asked
// for and their results, the log bytes and the whole resulting tree must be the same, and each run
// on its own must keep the rules in run_invariants.h. Every other seed also runs a second time
// into the same output on both sides.
//
// Soak (from the source folder; seeds are numbers, the default is 1..250):
//   VX_SEEDS=3000 VX_FIRST_SEED=1 build-diff-win/wine-run build-diff-win/win32_tests.exe
//   --gtest_filter='Differential.*'
// A failing seed prints the line that replays it alone.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tests/support/plan_runner.h"
#include "tests/support/wide_tree.h"
#include "win32/system_lead_bytes.h"
#include "win32/win32_file_system.h"

namespace vx {
namespace {

using testing::CollectionGenerator;
using testing::CollectionPlan;
using testing::DiskSink;
using testing::MemoryFileSystem;
using testing::MemorySink;
using testing::PlanOutcome;
using testing::Tree;

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", value);
  return text;
}

// Every difference between two pictures, stamps left out (each side has its own clock).
void CompareTrees(const Tree& wine, const Tree& model, const char* when, std::string& problems) {
  for (const auto& [path, entry] : wine) {
    auto other = model.find(path);
    if (other == model.end()) {
      problems += std::string("\n  ") + when + " only on Wine: " + path;
    } else if (other->second.isFolder != entry.isFolder ||
               other->second.attributes != entry.attributes ||
               other->second.content != entry.content) {
      problems += std::string("\n  ") + when + " differs: " + path + " Wine " +
                  Hex(entry.attributes) + " [" + entry.content + "] model " +
                  Hex(other->second.attributes) + " [" + other->second.content + "]";
    }
  }
  for (const auto& [path, entry] : model) {
    if (!wine.count(path)) problems += std::string("\n  ") + when + " only in the model: " + path;
  }
}

std::string CompareOutcomes(const PlanOutcome& wine, const PlanOutcome& model) {
  std::string problems;
  for (const std::string& line : wine.broken) problems += "\n  Wine run: " + line;
  for (const std::string& line : model.broken) problems += "\n  model run: " + line;
  if (wine.typeNames != model.typeNames) problems += "\n  type checklists differ";
  if (wine.facts.selectedTypes != model.facts.selectedTypes)
    problems += "\n  selected types differ";
  if (wine.error != model.error) {
    problems += "\n  errors differ: Wine [" + wine.error + "] model [" + model.error + "]";
  }
  const auto& a = wine.facts.copies;
  const auto& b = model.facts.copies;
  for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    if (i >= a.size() || i >= b.size() || a[i].source != b[i].source ||
        a[i].destination != b[i].destination || a[i].succeeded != b[i].succeeded) {
      std::ostringstream text;
      text << "\n  copy " << i << " differs:";
      if (i < a.size())
        text << " Wine " << a[i].source << " -> " << a[i].destination << " " << a[i].succeeded;
      if (i < b.size())
        text << " model " << b[i].source << " -> " << b[i].destination << " " << b[i].succeeded;
      problems += text.str();
      break;
    }
  }
  CompareTrees(wine.facts.before, model.facts.before, "before", problems);
  CompareTrees(wine.facts.after, model.facts.after, "after", problems);
  return problems;
}

TEST(Differential, WineAndTheModelAgreeOnRandomCollections) {
  const std::uint64_t first = testing::EnvNumber("VX_FIRST_SEED", 1);
  const std::uint64_t count = testing::EnvNumber("VX_SEEDS", 250);
  const LeadBytes lead = win32::SystemLeadBytes();
  int failed = 0;
  std::uint64_t ran = 0;
  std::uint64_t copies = 0;
  std::uint64_t succeeded = 0;
  for (std::uint64_t seed = first; seed < first + count && failed < 3; ++seed) {
    ++ran;
    const CollectionPlan plan = CollectionGenerator().Generate(seed);

    testing::RemoveTreeLong(plan.base);
    win32::Win32FileSystem disk(lead);
    DiskSink diskSink;
    const PlanOutcome wine =
        testing::RunPlan(plan, disk, diskSink, lead, testing::OptionsForSeed(seed));

    MemoryFileSystem model(LeadBytes::Gbk(), MemoryFileSystem::WineBehaviour());
    MemorySink modelSink(model);
    const PlanOutcome modelled =
        testing::RunPlan(plan, model, modelSink, LeadBytes::Gbk(), testing::OptionsForSeed(seed));

    for (const auto& copy : wine.facts.copies) {
      ++copies;
      if (copy.succeeded) ++succeeded;
    }
    std::string problems = CompareOutcomes(wine, modelled);
    // Every other seed: a second run into the same output, on both sides.
    if (problems.empty() && seed % 2 == 0) {
      const PlanOutcome wineAgain = testing::RunAgain(plan, disk, diskSink, lead, wine);
      const PlanOutcome modelAgain =
          testing::RunAgain(plan, model, modelSink, LeadBytes::Gbk(), modelled);
      const std::string again = CompareOutcomes(wineAgain, modelAgain);
      if (!again.empty()) problems = "\n  second run:" + again;
    }
    if (!problems.empty()) {
      ++failed;
      ADD_FAILURE() << "replay with VX_FIRST_SEED=" << seed << " VX_SEEDS=1" << problems << "\n"
                    << plan.Describe();
    }
  }
  testing::RemoveTreeLong(CollectionGenerator::kBase);
  std::printf("%llu seeds on Wine: %llu copies, %llu succeeded\n",
              static_cast<unsigned long long>(ran), static_cast<unsigned long long>(copies),
              static_cast<unsigned long long>(succeeded));
  if (count >= 50) {
    EXPECT_GT(succeeded, count / 4);
    EXPECT_GT(copies - succeeded, count / 4);
  }
}

}  // namespace
}  // namespace vx
