// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_TEST_SUPPORT__PROCESS_HPP_
#define KESTRUNE_TEST_SUPPORT__PROCESS_HPP_

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kestrune_test
{

struct ProcessResult
{
  int exit_code{-1};   // -1 when the process did not exit normally
  std::string output;  // standard output (and, on a pseudo-terminal, everything it printed)
};

/// Environment for a child: the parent's, less every SPDLOG_* variable, plus
/// these settings (std::nullopt leaves a variable unset).
using Environment = std::map<std::string, std::optional<std::string>>;

/// Runs argv[0] with its arguments and waits for it; standard error is left alone.
ProcessResult RunProcess(
  const std::vector<std::string> & argv, const Environment & environment = {});

/// Same, with standard output on a pseudo-terminal, as when run in a terminal.
ProcessResult RunProcessOnTerminal(
  const std::vector<std::string> & argv, const Environment & environment = {});

/// The lines of a text, without their end-of-line characters.
std::vector<std::string> SplitLines(const std::string & text);

}  // namespace kestrune_test

#endif  // KESTRUNE_TEST_SUPPORT__PROCESS_HPP_
