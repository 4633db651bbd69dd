// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_TEST_SUPPORT__CAPTURE_SINK_HPP_
#define KESTRUNE_TEST_SUPPORT__CAPTURE_SINK_HPP_

#include <spdlog/sinks/base_sink.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "kestrune_nav2_base_class/logger.hpp"

namespace kestrune_test
{

struct CapturedLine
{
  spdlog::level::level_enum level;
  std::string text;
  std::string file;
  int line;
  std::string function;
};

/// Records every line the process logger hands to its sinks, with its source location.
class CaptureSink : public spdlog::sinks::base_sink<std::mutex>
{
public:
  /// Attaches a new capture sink to the process logger (call before other threads log).
  static std::shared_ptr<CaptureSink> Attach()
  {
    auto sink = std::make_shared<CaptureSink>();
    kestrune::Logger::Instance().GetLogger()->sinks().push_back(sink);
    return sink;
  }

  /// Detaches every capture sink again.
  static void DetachAll()
  {
    auto & sinks = kestrune::Logger::Instance().GetLogger()->sinks();
    sinks.erase(
      std::remove_if(
        sinks.begin(), sinks.end(),
        [](const spdlog::sink_ptr & s) {
          return std::dynamic_pointer_cast<CaptureSink>(s) != nullptr;
        }),
      sinks.end());
  }

  std::vector<CapturedLine> Lines()
  {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }

  /// The texts of the lines since the last call, which are then forgotten.
  std::vector<std::string> TakeTexts()
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> texts;
    texts.reserve(lines_.size());
    for (auto & line : std::exchange(lines_, {})) {
      texts.push_back(std::move(line.text));
    }
    return texts;
  }

  /// Waits until @p count lines whose message starts with @p head are held.
  bool WaitFor(
    const std::string & head, int count, std::chrono::seconds patience = std::chrono::seconds(20))
  {
    std::unique_lock<std::mutex> lock(mutex_);
    return arrived_.wait_for(lock, patience, [&] {
      int seen = 0;
      for (const auto & line : lines_) {
        seen += MessageOf(line.text).rfind(head, 0) == 0 ? 1 : 0;
      }
      return seen >= count;
    });
  }

  /// The message of a line, without its "NNN [INFO] " prefix.
  static std::string MessageOf(const std::string & text)
  {
    const auto bracket = text.find("] ");
    return bracket == std::string::npos ? text : text.substr(bracket + 2);
  }

protected:
  void sink_it_(const spdlog::details::log_msg & msg) override
  {
    lines_.push_back(
      {msg.level, std::string(msg.payload.data(), msg.payload.size()),
       msg.source.filename ? msg.source.filename : "", msg.source.line,
       msg.source.funcname ? msg.source.funcname : ""});
    arrived_.notify_all();
  }
  void flush_() override {}

private:
  std::vector<CapturedLine> lines_;
  std::condition_variable arrived_;
};

}  // namespace kestrune_test

#endif  // KESTRUNE_TEST_SUPPORT__CAPTURE_SINK_HPP_
