// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// The logger reads its environment once per process, so each case runs the
// probe program in a child process of its own and checks its standard output.

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "support/process.hpp"

namespace
{

using kestrune_test::Environment;
using kestrune_test::RunProcess;
using kestrune_test::SplitLines;

const char kStdoutNotSet[] = "environment variable SPDLOG_STDOUT is not set, and set true";
const char kStdoutInvalid[] = "environment variable SPDLOG_STDOUT is invalid, and set true";
const char kSystemdNotSet[] = "environment variable SPDLOG_SYSTEMD is not set, and set false";
const char kSystemdInvalid[] = "environment variable SPDLOG_SYSTEMD is invalid, and set false";
const char kLevelNotSet[] = "environment variable SPDLOG_LEVEL is not set, and set default level";
const char kLevelInvalid[] = "environment variable SPDLOG_LEVEL is invalid, and set default level";

std::vector<std::string> Probe(const Environment & env, const std::vector<std::string> & args)
{
  std::vector<std::string> argv{KESTRUNE_LOGGER_PROBE};
  argv.insert(argv.end(), args.begin(), args.end());
  const auto result = RunProcess(argv, env);
  EXPECT_EQ(result.exit_code, 0);
  return SplitLines(result.output);
}

// A fully configured environment, so only the variable under test speaks.
Environment Quiet(const Environment & overrides = {})
{
  Environment env{{"SPDLOG_STDOUT", "true"}, {"SPDLOG_SYSTEMD", "false"}, {"SPDLOG_LEVEL", "info"}};
  for (const auto & [name, value] : overrides) {
    env[name] = value;
  }
  return env;
}

TEST(Logger, NothingSetGivesThreeDiagnosticsInOrderThenInfoAndErrorLines)
{
  const auto lines = Probe(
    {{"SPDLOG_STDOUT", std::nullopt},
     {"SPDLOG_SYSTEMD", std::nullopt},
     {"SPDLOG_LEVEL", std::nullopt}},
    {"i:Configuring", "e:boom"});
  const std::vector<std::string> expected{
    kStdoutNotSet, kSystemdNotSet, kLevelNotSet, "  1 [INFO] Configuring", "  2 [ERROR] boom"};
  EXPECT_EQ(lines, expected);
}

TEST(Logger, StdoutValuesAreWholeCaseSensitiveStrings)
{
  const std::map<std::string, std::vector<std::string>> cases{
    {"true", {"  1 [INFO] hello"}},
    {"false", {}},
    {"True", {kStdoutInvalid, "  1 [INFO] hello"}},
    {"", {kStdoutInvalid, "  1 [INFO] hello"}},
    {" true", {kStdoutInvalid, "  1 [INFO] hello"}},
    {"1", {kStdoutInvalid, "  1 [INFO] hello"}},
  };
  for (const auto & [value, expected] : cases) {
    EXPECT_EQ(Probe(Quiet({{"SPDLOG_STDOUT", value}}), {"i:hello"}), expected)
      << "SPDLOG_STDOUT='" << value << "'";
  }
}

TEST(Logger, SystemdValuesOtherThanTrueOrFalseAreInvalid)
{
  for (const std::string value : {"True", "", "yes"}) {
    const std::vector<std::string> expected{kSystemdInvalid, "  1 [INFO] hello"};
    EXPECT_EQ(Probe(Quiet({{"SPDLOG_SYSTEMD", value}}), {"i:hello"}), expected)
      << "SPDLOG_SYSTEMD='" << value << "'";
  }
  const std::vector<std::string> only_console{"  1 [INFO] hello"};
  EXPECT_EQ(Probe(Quiet({{"SPDLOG_SYSTEMD", "false"}}), {"i:hello"}), only_console);
}

TEST(Logger, LevelValuesOutsideTheTableFallBackToInfo)
{
  for (const std::string value : {"warn", "INFO", "off", "", "Error"}) {
    const std::vector<std::string> expected{kLevelInvalid, "  1 [INFO] a", "  2 [ERROR] b"};
    EXPECT_EQ(Probe(Quiet({{"SPDLOG_LEVEL", value}}), {"i:a", "e:b"}), expected)
      << "SPDLOG_LEVEL='" << value << "'";
  }
}

TEST(Logger, LevelTableDecidesWhichLinesPassAndCount)
{
  const std::vector<std::string> all{
    "  1 [INFO] a", "  2 [ERROR] b", "  3 [INFO] c", "  4 [ERROR] d"};
  const std::map<std::string, std::vector<std::string>> cases{
    {"trace", all},
    {"debug", all},
    {"info", all},
    // Info lines below the level use up no number.
    {"warning", {"  1 [ERROR] b", "  2 [ERROR] d"}},
    {"error", {"  1 [ERROR] b", "  2 [ERROR] d"}},
    {"critical", {}},
  };
  for (const auto & [value, expected] : cases) {
    EXPECT_EQ(Probe(Quiet({{"SPDLOG_LEVEL", value}}), {"i:a", "e:b", "i:c", "e:d"}), expected)
      << "SPDLOG_LEVEL='" << value << "'";
  }
}

TEST(Logger, WithoutSinksOnlyDiagnosticsAppear)
{
  const auto lines = Probe(
    {{"SPDLOG_STDOUT", "false"}, {"SPDLOG_SYSTEMD", std::nullopt}, {"SPDLOG_LEVEL", std::nullopt}},
    {"i:a", "e:b"});
  const std::vector<std::string> expected{kSystemdNotSet, kLevelNotSet};
  EXPECT_EQ(lines, expected);
}

TEST(Logger, NumbersRollFrom127ToZeroWithAFixedWidthPrefix)
{
  const auto lines = Probe(Quiet(), {"lines:130"});
  ASSERT_EQ(lines.size(), 130U);
  EXPECT_EQ(lines[0], "  1 [INFO] line 1");
  EXPECT_EQ(lines[8], "  9 [INFO] line 9");
  EXPECT_EQ(lines[9], " 10 [INFO] line 10");
  EXPECT_EQ(lines[99], "100 [INFO] line 100");
  EXPECT_EQ(lines[126], "127 [INFO] line 127");
  EXPECT_EQ(lines[127], "  0 [INFO] line 128");
  EXPECT_EQ(lines[128], "  1 [INFO] line 129");
  EXPECT_EQ(lines[129], "  2 [INFO] line 130");
}

TEST(Logger, BracesInTheMessageAreWrittenVerbatim)
{
  const auto lines = Probe(Quiet(), {"i:{} {0} {:d}", "e:what: {oops}"});
  const std::vector<std::string> expected{"  1 [INFO] {} {0} {:d}", "  2 [ERROR] what: {oops}"};
  EXPECT_EQ(lines, expected);
}

TEST(Logger, NoEscapeSequencesOnAColourTerminal)
{
  const auto result = kestrune_test::RunProcessOnTerminal(
    {KESTRUNE_LOGGER_PROBE, "i:hello", "e:bad"},
    Quiet({{"TERM", "xterm-256color"}, {"COLORTERM", "truecolor"}}));
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.output.find('\033'), std::string::npos) << result.output;
  const std::vector<std::string> expected{"  1 [INFO] hello", "  2 [ERROR] bad"};
  EXPECT_EQ(SplitLines(result.output), expected);
}

TEST(Logger, OneInstanceIsSharedByEveryModuleOfTheProcess)
{
  const auto lines = Probe(Quiet(), {"modules", "i:after"});
  const std::vector<std::string> expected{
    "  1 [INFO] from program", "  2 [INFO] from linked module", "  3 [INFO] from loaded module",
    "same instance", "  4 [INFO] after"};
  EXPECT_EQ(lines, expected);
}

TEST(Logger, ConcurrentLinesStayWholeAndNoNumberIsLost)
{
  constexpr int kThreads = 8;
  constexpr int kLinesPerThread = 2000;
  const auto lines = Probe(Quiet(), {"threads:8:2000"});
  ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kLinesPerThread));

  const std::regex whole(R"(([ 0-9]{3}) \[INFO\] t([0-7]) n([0-9]+))");
  std::map<int, int> per_number;
  std::vector<std::vector<int>> seen(kThreads);
  for (const auto & line : lines) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(line, match, whole)) << "torn line: '" << line << "'";
    ++per_number[std::stoi(match[1].str())];
    seen[std::stoi(match[2].str())].push_back(std::stoi(match[3].str()));
  }
  // Every counter value 1..N was handed out exactly once, so number k appears
  // as often as there are values congruent to k modulo 128.
  const int total = kThreads * kLinesPerThread;
  for (int number = 0; number < 128; ++number) {
    int expected = 0;
    for (int value = 1; value <= total; ++value) {
      expected += ((value % 256) & 127) == number ? 1 : 0;
    }
    EXPECT_EQ(per_number[number], expected) << "number " << number;
  }
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(seen[t].size(), static_cast<size_t>(kLinesPerThread));
    for (int k = 0; k < kLinesPerThread; ++k) {
      EXPECT_EQ(seen[t][k], k) << "thread " << t << " lost or reordered a line";
    }
  }
}

}  // namespace
