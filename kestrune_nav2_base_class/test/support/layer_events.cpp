// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "layer_events.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <utility>

namespace kestrune_test
{
namespace
{
std::mutex g_mutex;
std::vector<std::string> g_events;
std::vector<std::thread::id> g_timer_threads;
std::atomic<long> g_updates{0};
}  // namespace

void LayerEvents::RecordUpdate()
{
  ++g_updates;
}

long LayerEvents::Updates()
{
  return g_updates.load();
}

void LayerEvents::Record(const std::string & event)
{
  std::lock_guard<std::mutex> lock(g_mutex);
  g_events.push_back(event);
}

std::vector<std::string> LayerEvents::Take()
{
  std::lock_guard<std::mutex> lock(g_mutex);
  return std::exchange(g_events, {});
}

bool LayerEvents::Seen(const std::string & event)
{
  std::lock_guard<std::mutex> lock(g_mutex);
  return std::find(g_events.begin(), g_events.end(), event) != g_events.end();
}

bool LayerEvents::WaitFor(const std::string & event, int ms)
{
  for (int waited = 0; waited < ms; ++waited) {
    if (Seen(event)) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return Seen(event);
}

void LayerEvents::RecordTimerThread(std::thread::id id)
{
  std::lock_guard<std::mutex> lock(g_mutex);
  g_timer_threads.push_back(id);
}

std::vector<std::thread::id> LayerEvents::TimerThreads()
{
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_timer_threads;
}

void LayerEvents::Clear()
{
  std::lock_guard<std::mutex> lock(g_mutex);
  g_events.clear();
  g_timer_threads.clear();
}

}  // namespace kestrune_test
