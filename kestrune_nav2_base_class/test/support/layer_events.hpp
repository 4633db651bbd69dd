// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_TEST_SUPPORT__LAYER_EVENTS_HPP_
#define KESTRUNE_TEST_SUPPORT__LAYER_EVENTS_HPP_

#include <string>
#include <thread>
#include <vector>

namespace kestrune_test
{

/// What the test layers saw, shared between the test and the plugin library
/// that pluginlib loads (a shared library, so both see one record).
class LayerEvents
{
public:
  static void Record(const std::string & event);
  static std::vector<std::string> Take();
  /// Whether @p event was recorded since the last Take(), leaving the record as it is.
  static bool Seen(const std::string & event);
  /// Waits up to @p ms milliseconds for Seen(@p event).
  static bool WaitFor(const std::string & event, int ms = 5000);
  static void RecordTimerThread(std::thread::id id);
  static std::vector<std::thread::id> TimerThreads();
  static void Clear();
  /// Map updates that reached a recording layer (its updateBounds), all layers together.
  static void RecordUpdate();
  static long Updates();
};

}  // namespace kestrune_test

#endif  // KESTRUNE_TEST_SUPPORT__LAYER_EVENTS_HPP_
