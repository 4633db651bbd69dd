// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// Eight threads logging at once for long enough that the sequence counter
// wraps thousands of times: every line arrives whole, no thread loses or
// reorders a line, and each number appears as often as the counter's mod-128
// rule says. The logger reads its environment once per process, so the lines
// come from the probe program in a process of its own.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "support/process.hpp"
#include "test_reliability.hpp"

namespace
{

constexpr int kThreads = 8;
// 100,000 lines per thread (a quarter under the sanitizers: test_reliability.hpp).
constexpr int kLinesPerThread = 100000 / kestrune_test::kScaleDown;

struct ParsedLine
{
  int number;
  int thread;
  int index;
};

/// Parses "NNN [INFO] t<thread> n<index>" (NNN right-aligned in three
/// columns); false for anything else, a torn or merged line included.
bool Parse(const std::string & text, std::size_t begin, std::size_t end, ParsedLine & line)
{
  const std::string_view view(text.data() + begin, end - begin);
  const std::string_view tag = " [INFO] t";
  if (view.size() < 3 + tag.size() + 3 || view.substr(3, tag.size()) != tag) {
    return false;
  }
  // The number: spaces, then at least one digit, in exactly three columns.
  std::size_t i = 0;
  while (i < 2 && view[i] == ' ') {
    ++i;
  }
  line.number = 0;
  for (; i < 3; ++i) {
    if (view[i] < '0' || view[i] > '9') {
      return false;
    }
    line.number = line.number * 10 + (view[i] - '0');
  }
  if (line.number > 127) {
    return false;
  }
  i = 3 + tag.size();
  if (view[i] < '0' || view[i] > '7' || view[i + 1] != ' ' || view[i + 2] != 'n') {
    return false;
  }
  line.thread = view[i] - '0';
  i += 3;
  if (i >= view.size()) {
    return false;
  }
  line.index = 0;
  for (; i < view.size(); ++i) {
    if (view[i] < '0' || view[i] > '9' || line.index > 100000000) {
      return false;
    }
    line.index = line.index * 10 + (view[i] - '0');
  }
  return true;
}

TEST(LoggerReliability, EightThreadsOfManyLinesStayWholeOrderedAndCounted)
{
  const auto result = kestrune_test::RunProcess(
    {KESTRUNE_LOGGER_PROBE,
     "threads:" + std::to_string(kThreads) + ":" + std::to_string(kLinesPerThread)},
    {{"SPDLOG_STDOUT", "true"}, {"SPDLOG_SYSTEMD", "false"}, {"SPDLOG_LEVEL", "info"}});
  ASSERT_EQ(result.exit_code, 0);
  const std::string & out = result.output;
  ASSERT_FALSE(out.empty());
  ASSERT_EQ(out.back(), '\n') << "the last line is cut off";

  std::vector<int> next_index(kThreads, 0);
  std::vector<long> per_number(128, 0);
  long lines = 0;
  int reported = 0;
  std::size_t begin = 0;
  while (begin < out.size()) {
    const std::size_t end = out.find('\n', begin);
    ParsedLine line{};
    if (!Parse(out, begin, end, line)) {
      ADD_FAILURE() << "line " << lines + 1 << " is not whole: '" << out.substr(begin, end - begin)
                    << "'";
      if (++reported == 5) {
        return;
      }
    } else {
      if (line.index != next_index[line.thread] && reported < 5) {
        ADD_FAILURE() << "thread " << line.thread << " wrote line " << line.index << " where "
                      << next_index[line.thread] << " was due";
        ++reported;
      }
      next_index[line.thread] = line.index + 1;
      ++per_number[line.number];
    }
    ++lines;
    begin = end + 1;
  }
  ASSERT_EQ(reported, 0);
  ASSERT_EQ(lines, static_cast<long>(kThreads) * kLinesPerThread);
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(next_index[t], kLinesPerThread) << "thread " << t;
  }

  // The counter handed out 1..N once each; line k of the process shows
  // (k mod 256) & 127, so number m appears as often as there are k in 1..N
  // with k mod 128 == m.
  const long total = lines;
  for (int number = 0; number < 128; ++number) {
    const long expected = total / 128 + ((number != 0 && number <= total % 128) ? 1 : 0);
    EXPECT_EQ(per_number[number], expected) << "number " << number;
  }
}

}  // namespace
