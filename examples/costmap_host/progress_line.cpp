// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "progress_line.hpp"

#include <unistd.h>

#include <chrono>
#include <string>

namespace kestrune_costmap_host
{

ProgressLine::ProgressLine(std::FILE * stream)
: stream_(stream),
  terminal_(::isatty(::fileno(stream)) == 1)
{
}

ProgressLine::~ProgressLine()
{
  finish();
}

void ProgressLine::show(const std::string & text)
{
  const auto now = std::chrono::steady_clock::now();
  if (shown_ && now - last_ < std::chrono::milliseconds(500)) {
    return;
  }
  shown_ = true;
  last_ = now;
  if (terminal_) {
    // Back to the start of the line, then clear what a longer previous text left.
    std::fprintf(stream_, "\r%s\033[K", text.c_str());
    open_ = true;
  } else {
    std::fprintf(stream_, "%s\n", text.c_str());
  }
  std::fflush(stream_);
}

void ProgressLine::finish()
{
  if (open_) {
    std::fputc('\n', stream_);
    std::fflush(stream_);
    open_ = false;
  }
  shown_ = false;
}

}  // namespace kestrune_costmap_host
