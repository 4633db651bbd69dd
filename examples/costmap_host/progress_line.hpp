// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef COSTMAP_HOST__PROGRESS_LINE_HPP_
#define COSTMAP_HOST__PROGRESS_LINE_HPP_

#include <chrono>
#include <cstdio>
#include <string>

namespace kestrune_costmap_host
{

/**
 * @brief A status line on a stream (standard error): rewritten in place with '\r' on a
 * terminal, one plain line per update otherwise, never more than two per second.
 */
class ProgressLine
{
public:
  explicit ProgressLine(std::FILE * stream);

  ProgressLine(const ProgressLine &) = delete;
  ProgressLine & operator=(const ProgressLine &) = delete;

  /// @brief Ends a line left open on a terminal.
  ~ProgressLine();

  /// @brief Shows @p text, unless the last line went out less than half a second ago.
  void show(const std::string & text);

  /// @brief Ends a line left open on a terminal, so what follows starts on a line of its own.
  void finish();

private:
  std::FILE * stream_;
  bool terminal_;
  bool open_{false};
  bool shown_{false};
  std::chrono::steady_clock::time_point last_;
};

}  // namespace kestrune_costmap_host

#endif  // COSTMAP_HOST__PROGRESS_LINE_HPP_
