// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_TEST_SUPPORT__COUNTER_HPP_
#define KESTRUNE_TEST_SUPPORT__COUNTER_HPP_

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kestrune_test
{

/// A count that callbacks raise and tests wait on (the timeout is only a hang guard).
class Counter
{
public:
  int Increment()
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++value_;
    changed_.notify_all();
    return value_;
  }

  int Value()
  {
    std::lock_guard<std::mutex> lock(mutex_);
    return value_;
  }

  bool WaitFor(int at_least, std::chrono::milliseconds timeout = std::chrono::seconds(10))
  {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return value_ >= at_least; });
  }

private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int value_{0};
};

}  // namespace kestrune_test

#endif  // KESTRUNE_TEST_SUPPORT__COUNTER_HPP_
