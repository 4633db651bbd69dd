// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// What the reliability tests share: how big their runs are, how they read the
// process's own resident memory and thread count, and a hang guard that says
// which phase hung.

#ifndef KESTRUNE_TEST_SUPPORT__RELIABILITY_HPP_
#define KESTRUNE_TEST_SUPPORT__RELIABILITY_HPP_

#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
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

/// Ends the process with the name of the phase that did not finish in time.
/// ctest's timeout would end a hang too, but would not say where it was.
class HangGuard
{
public:
  explicit HangGuard(std::chrono::seconds limit)
  : thread_([this, limit]() {
      std::unique_lock<std::mutex> lock(mutex_);
      if (!changed_.wait_for(lock, limit, [this] { return done_; })) {
        std::fprintf(
          stderr, "hang: '%s' did not finish within %lld s\n", phase_.c_str(),
          static_cast<long long>(limit.count()));
        std::abort();
      }
    })
  {
  }

  HangGuard(const HangGuard &) = delete;
  HangGuard & operator=(const HangGuard &) = delete;

  ~HangGuard()
  {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }

  /// Names what the test is doing now, for the message.
  void Phase(const std::string & phase)
  {
    std::lock_guard<std::mutex> lock(mutex_);
    phase_ = phase;
  }

private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool done_{false};
  std::string phase_{"start"};
  std::thread thread_;
};

}  // namespace kestrune_test

#endif  // KESTRUNE_TEST_SUPPORT__RELIABILITY_HPP_
