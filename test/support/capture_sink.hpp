// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_TEST_SUPPORT__CAPTURE_SINK_HPP_
#define KESTRUNE_TEST_SUPPORT__CAPTURE_SINK_HPP_

#include <spdlog/sinks/base_sink.h>

#include <memory>
#include <mutex>
#include <string>
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

protected:
  void sink_it_(const spdlog::details::log_msg & msg) override
  {
    lines_.push_back(
      {msg.level, std::string(msg.payload.data(), msg.payload.size()),
       msg.source.filename ? msg.source.filename : "", msg.source.line,
       msg.source.funcname ? msg.source.funcname : ""});
  }
  void flush_() override {}

private:
  std::vector<CapturedLine> lines_;
};

}  // namespace kestrune_test

#endif  // KESTRUNE_TEST_SUPPORT__CAPTURE_SINK_HPP_
