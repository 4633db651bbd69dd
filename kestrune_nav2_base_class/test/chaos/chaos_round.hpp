// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// One round of the randomized lifecycle test: a costmap node with Nav2's
// static, obstacle and inflation layers, driven by a seeded random sequence of
// transitions, destruction, parameter changes, clear-costmap requests,
// footprint messages, layer traffic and pauses. Each operation is printed
// before it runs, so the log of a round that crashes ends at its culprit.

#ifndef KESTRUNE_TEST_CHAOS__CHAOS_ROUND_HPP_
#define KESTRUNE_TEST_CHAOS__CHAOS_ROUND_HPP_

#include <cstdint>
#include <string>

namespace kestrune_chaos
{

/// How the host spins the node and drives its transitions.
enum class Pattern
{
  kHostThread,     ///< called from the host's thread while a node thread spins the node
  kChangeState,    ///< sent to the node's change_state service, as a lifecycle manager does
  kMultiThreaded,  ///< host thread; a multi-threaded executor spins the node
  kSpinSome,       ///< host thread; another thread calls spin_some on the node in a loop
  kBusyNeighbour,  ///< host thread; the node's executor also spins a neighbour whose
                   ///< callbacks sometimes run for seconds
  kMixed,          ///< change_state and the host's thread, both at once
  kFromCallback,   ///< called from a callback of the node's default group
};

/// Every pattern, in the order the harness names them.
constexpr Pattern kAllPatterns[] = {
  Pattern::kHostThread,    Pattern::kChangeState, Pattern::kMultiThreaded, Pattern::kSpinSome,
  Pattern::kBusyNeighbour, Pattern::kMixed,       Pattern::kFromCallback};

/// Which costmap node the round drives.
enum class Subject
{
  kOurs,      ///< nav2_costmap_2d::KestruneCostmap2DROS
  kUpstream,  ///< nav2_costmap_2d::Costmap2DROS, for comparison
};

struct RoundOptions
{
  std::uint64_t seed{1};
  Pattern pattern{Pattern::kHostThread};
  Subject subject{Subject::kOurs};
  int operations{60};
};

const char * Name(Pattern pattern);

/// The pattern named @p name; false when there is none.
bool PatternNamed(const std::string & name, Pattern & pattern);
const char * Name(Subject subject);

/// Runs one round in this process (ROS is initialized and shut down here).
/// Returns the process's exit status: 0 when the round ran to its end.
int RunRound(const RoundOptions & options);

}  // namespace kestrune_chaos

#endif  // KESTRUNE_TEST_CHAOS__CHAOS_ROUND_HPP_
