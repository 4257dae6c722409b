// Every platform call of a run made to fail in turn, at every position it has in the run: each
// listing, each step of a listing, each folder creation, each copy, and the log's open, every
// write (a small block size makes many) and its close.
//
// A failed copy or folder creation costs at most one failure line and the run goes on; a failed
// listing changes what the run sees but never what it may do; a failed log operation abandons the
// run at exactly that call with the run-time's error text, keeps the copies made so far and leaves
// no listing or output open.
//
// More collections: VX_FAULT_SEEDS=<count> build-diff-native/core_tests
// --gtest_filter='FaultInjection.*'
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/in_out_error.h"
#include "tests/support/plan_runner.h"

namespace vx {
namespace {

using testing::CollectionGenerator;
using testing::CollectionPlan;
using testing::MemoryFileSystem;
using testing::MemorySink;
using testing::PlanOutcome;
using Op = MemoryFileSystem::Operation;

constexpr std::size_t kBlockSize = 32;
const Op kOperations[] = {Op::kOpenListing,  Op::kListingNext, Op::kForceDirectories, Op::kCopy,
                          Op::kCreateOutput, Op::kWriteOutput, Op::kCloseOutput};
const int kErrorCodes[] = {5, 101, 112, 32};

bool IsLogOperation(Op op) {
  return op == Op::kCreateOutput || op == Op::kWriteOutput || op == Op::kCloseOutput;
}

std::size_t Failures(const std::vector<testing::RecordingFileSystem::Copy>& copies) {
  std::size_t failures = 0;
  for (const auto& copy : copies) failures += copy.succeeded ? 0 : 1;
  return failures;
}

// One run of a plan on a fresh model, optionally with one call made to fail.
struct FaultRun {
  MemoryFileSystem fs{LeadBytes::Gbk(), MemoryFileSystem::WineBehaviour()};
  PlanOutcome outcome;
  std::size_t callsBeforeRun = 0;  // calls made while preparing (listing the types)
  std::map<Op, int> countsBeforeRun;
  std::size_t callsAtCompletion = 0;  // calls made when the completion was shown, counted from 0
  int errorCode = 0;

  FaultRun(const CollectionPlan& plan, Op op, int index, int code) {
    MemorySink sink(fs);
    testing::PreparePlan(plan, fs, sink, outcome);
    callsBeforeRun = fs.Calls().size();
    for (Op each : kOperations) countsBeforeRun[each] = fs.CallCount(each);
    if (index >= 0) {
      const int target = fs.CallCount(op) + index;
      fs.fault = [op, target](Op operation, const std::string&, int callIndex) {
        return operation == op && callIndex == target;
      };
      fs.outputErrorCode = code;
      outcome.facts.romListingReliable = op != Op::kOpenListing && op != Op::kListingNext;
    }
    outcome.facts.before = sink.Snapshot(plan.base);
    testing::RecordingFileSystem recording(fs);
    try {
      RunCopy(
          recording, LeadBytes::Gbk(), outcome.facts.selectedTypes, plan.folders,
          [&] {
            ++outcome.completions;
            callsAtCompletion = fs.Calls().size() - callsBeforeRun;
          },
          CopyRunOptions{kBlockSize});
      outcome.facts.completed = true;
    } catch (const InOutError& error) {
      outcome.error = error.what();
      errorCode = error.ErrorCode();
    }
    outcome.facts.copies = recording.Copies();
    outcome.facts.after = sink.Snapshot(plan.base);
    outcome.broken = testing::CheckRunInvariants(outcome.facts, LeadBytes::Gbk());
  }

  std::vector<MemoryFileSystem::Call> RunCalls() const {
    return std::vector<MemoryFileSystem::Call>(fs.Calls().begin() + callsBeforeRun,
                                               fs.Calls().end());
  }
};

// What went wrong with one faulted run, or empty.
std::string CheckFaultedRun(const FaultRun& reference, const FaultRun& run, Op op, int index,
                            int code) {
  std::string problems;
  for (const std::string& line : run.outcome.broken) problems += "\n  " + line;
  if (run.fs.OpenListings() != 0) problems += "\n  a listing is left open";
  if (run.fs.OpenOutputs() != 0) problems += "\n  the log is left open";
  const auto refCalls = reference.RunCalls();
  const auto calls = run.RunCalls();

  if (IsLogOperation(op)) {
    if (run.outcome.facts.completed) return problems + "\n  the run went on after a log failure";
    if (run.errorCode != code) problems += "\n  error code " + std::to_string(run.errorCode);
    if (run.outcome.error != InOutErrorText(code)) problems += "\n  text " + run.outcome.error;
    // The run stops at the failing call: everything before it as in the reference run, nothing
    // after it.
    if (calls.empty() || calls.back().operation != op || calls.back().succeeded) {
      return problems + "\n  the last call is not the failed one";
    }
    const std::size_t position = calls.size() - 1;
    for (std::size_t i = 0; i <= position && i < refCalls.size(); ++i) {
      if (calls[i].operation != refCalls[i].operation || calls[i].path != refCalls[i].path ||
          calls[i].path2 != refCalls[i].path2 ||
          (i < position && calls[i].succeeded != refCalls[i].succeeded)) {
        problems += "\n  call " + std::to_string(i) + " differs from the reference run";
        break;
      }
    }
    const bool shown = reference.callsAtCompletion <= position;
    if (run.outcome.completions != (shown ? 1 : 0)) {
      problems += "\n  completion shown " + std::to_string(run.outcome.completions) +
                  " times for a failure at call " + std::to_string(position);
    }
    return problems;
  }

  if (!run.outcome.facts.completed) return problems + "\n  abandoned: " + run.outcome.error;
  if (run.outcome.completions != 1) problems += "\n  completion not shown once";
  const auto& refCopies = reference.outcome.facts.copies;
  const auto& copies = run.outcome.facts.copies;
  if (op != Op::kCopy && op != Op::kForceDirectories) return problems;
  if (copies.size() != refCopies.size())
    return problems + "\n  the run did not go on to every copy";
  if (op == Op::kCopy) {
    // The failed copy is one more failure line; a later copy to the same destination may then
    // succeed where it failed before, so the total is the reference's or one more.
    const std::size_t extra = Failures(copies) - std::min(Failures(copies), Failures(refCopies));
    if (Failures(copies) < Failures(refCopies) || extra > 1) {
      problems += "\n  failures " + std::to_string(Failures(copies)) + " against " +
                  std::to_string(Failures(refCopies)) + " without the fault";
    }
    if (static_cast<std::size_t>(index) >= copies.size() ||
        copies[static_cast<std::size_t>(index)].succeeded) {
      problems += "\n  the failed copy counted as a success";
    }
    return problems;
  }
  // A folder that was not made costs the copies into it up to the next time the run makes the
  // same folder (the type output folder: the one copy; the output root: with a type name that
  // holds ":", which stops the walk up on Wine, the copies of that type). Nothing else changes,
  // except that a later copy to a destination that lost its copy may now succeed.
  std::size_t faulted = calls.size();
  std::size_t next = calls.size();
  for (std::size_t i = 0, seen = 0; i < calls.size(); ++i) {
    if (calls[i].operation != Op::kForceDirectories) continue;
    if (faulted == calls.size() && seen++ == static_cast<std::size_t>(index)) {
      faulted = i;
    } else if (faulted != calls.size() && calls[i].path == calls[faulted].path) {
      next = i;
      break;
    }
  }
  if (faulted == calls.size()) return problems + "\n  the failed folder creation is not recorded";
  const LeadBytes lead = LeadBytes::Gbk();
  const std::string folder = testing::CanonicalPath(calls[faulted].path, lead) + "\\";
  std::set<std::string> lost;
  for (std::size_t i = 0, copy = 0; i < calls.size(); ++i) {
    if (calls[i].operation != Op::kCopy) continue;
    const bool was = refCopies[copy].succeeded;
    const bool now = copies[copy].succeeded;
    const std::string destination = testing::CanonicalPath(copies[copy].destination, lead);
    ++copy;
    if (was == now) continue;
    if (was && i > faulted && i < next && destination.rfind(folder, 0) == 0) {
      lost.insert(destination);
    } else if (!was && lost.count(destination)) {
      lost.erase(destination);
    } else {
      problems += "\n  copy to " + destination + " changed outside the folder that was not made";
    }
  }
  return problems;
}

TEST(FaultInjection, EveryCallFailsInTurnAtEveryPosition) {
  const char* seedsText = std::getenv("VX_FAULT_SEEDS");
  const std::uint64_t seeds = seedsText && *seedsText ? std::strtoull(seedsText, nullptr, 10) : 40;
  std::map<Op, int> cases;
  int failed = 0;
  int logAbandons = 0;
  int completionsShownBeforeLogFailure = 0;
  for (std::uint64_t seed = 1, used = 0; used < seeds && failed < 5; ++seed) {
    const CollectionPlan plan = CollectionGenerator().Generate(seed);
    const FaultRun reference(plan, Op::kCopy, -1, 0);
    // Only collections whose run copies something are worth the many runs.
    if (reference.outcome.facts.copies.empty()) continue;
    ++used;
    ASSERT_TRUE(reference.outcome.broken.empty()) << "seed " << seed;
    for (Op op : kOperations) {
      const int count = reference.fs.CallCount(op) - reference.countsBeforeRun.at(op);
      for (int index = 0; index < count; ++index) {
        const int code = kErrorCodes[(index + static_cast<int>(seed)) % 4];
        const FaultRun run(plan, op, index, code);
        ++cases[op];
        if (IsLogOperation(op)) {
          ++logAbandons;
          if (run.outcome.completions) ++completionsShownBeforeLogFailure;
        }
        const std::string problems = CheckFaultedRun(reference, run, op, index, code);
        if (!problems.empty() && ++failed <= 5) {
          ADD_FAILURE() << "seed " << seed << ", " << testing::OperationName(op) << " #" << index
                        << " failing" << problems << "\n"
                        << plan.Describe();
        }
      }
    }
  }
  int total = 0;
  for (const auto& [op, count] : cases) {
    std::printf("%s: %d\n", testing::OperationName(op), count);
    total += count;
  }
  std::printf("%d fault cases, %d abandoned on the log (%d of them after the completion)\n", total,
              logAbandons, completionsShownBeforeLogFailure);
  // Every kind of call must have been made to fail somewhere.
  for (Op op : kOperations) EXPECT_GT(cases[op], 0) << testing::OperationName(op);
}

}  // namespace
}  // namespace vx
