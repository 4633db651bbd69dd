// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// What the long-running tests share: how big their runs are, and how they read
// the process's own heap in use and thread count.

#ifndef KESTRUNE_TEST_SUPPORT__RELIABILITY_HPP_
#define KESTRUNE_TEST_SUPPORT__RELIABILITY_HPP_

#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

namespace kestrune_test
{

/// Under AddressSanitizer or ThreadSanitizer everything runs several times
/// slower on the CI's two cores, so the sanitizer builds
/// (KESTRUNE_TEST_SANITIZED, set by test/CMakeLists.txt) run a quarter
/// of each count. They still check leaks and races on every path; the full
/// counts run in the plain build.
#ifdef KESTRUNE_TEST_SANITIZED
constexpr bool kSanitized = true;
constexpr int kScaleDown = 4;
#else
constexpr bool kSanitized = false;
constexpr int kScaleDown = 1;
#endif

/// Bytes the allocator has handed out and not yet got back, over all arenas.
inline long long HeapInUse()
{
  return static_cast<long long>(mallinfo2().uordblks);
}

/// Threads of this process, as the kernel counts them.
inline int ThreadCount()
{
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "Threads:") {
      int count = 0;
      status >> count;
      return count;
    }
    status.ignore(1 << 16, '\n');
  }
  return -1;
}

/// The thread count once it has settled at @p expected (a joined thread
/// leaves the kernel's list a moment after the join returns), or whatever it
/// is after @p patience.
inline int ThreadCountSettledAt(
  int expected, std::chrono::milliseconds patience = std::chrono::seconds(5))
{
#if defined(__SANITIZE_THREAD__)
  // ThreadSanitizer starts a background thread of its own whenever it likes,
  // so thread counts prove nothing under it; the other builds check them.
  (void)patience;
  return expected;
#endif
  const auto deadline = std::chrono::steady_clock::now() + patience;
  int count = ThreadCount();
  while (count != expected && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    count = ThreadCount();
  }
  return count;
}

}  // namespace kestrune_test

#endif  // KESTRUNE_TEST_SUPPORT__RELIABILITY_HPP_
