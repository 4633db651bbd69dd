// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// Journal entries are read back from a real systemd-journald that the test
// starts in a private mount namespace, so the machine's own journal is never
// touched.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "support/process.hpp"

namespace
{

using Entry = std::map<std::string, std::string>;

// journalctl -o json prints one flat object per line; these fields are plain strings.
Entry ParseEntry(const std::string & line)
{
  Entry entry;
  const std::regex field(R"re("([A-Z_]+)":"((?:[^"\\]|\\.)*)")re");
  for (auto it = std::sregex_iterator(line.begin(), line.end(), field);
       it != std::sregex_iterator(); ++it) {
    entry[(*it)[1].str()] = (*it)[2].str();
  }
  return entry;
}

int LineOf(const std::string & path, const std::string & needle)
{
  std::ifstream file(path);
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    if (line.find(needle) != std::string::npos) {
      return number;
    }
  }
  return -1;
}

TEST(Journal, EntriesCarryMessagePriorityIdentifierAndSourceLocation)
{
  if (geteuid() != 0) {
    GTEST_SKIP() << "a private mount namespace needs root (unshare -m)";
  }
  if (kestrune_test::RunProcess({"/usr/bin/unshare", "-m", "/bin/true"}).exit_code != 0) {
    GTEST_SKIP() << "unshare -m cannot make a private mount namespace here";
  }
  char scratch[] = "/tmp/kestrune-journal-XXXXXX";
  ASSERT_NE(mkdtemp(scratch), nullptr);

  const auto result = kestrune_test::RunProcess(
    {"/usr/bin/unshare", "-m", "/bin/sh", KESTRUNE_JOURNAL_SCRIPT, scratch, KESTRUNE_LOGGER_PROBE,
     "i:hello journal", "e:broken {braces}"});
  std::system((std::string("rm -rf ") + scratch).c_str());
  if (result.exit_code == 77) {
    GTEST_SKIP() << "no private systemd-journald could be started here (see the test's stderr)";
  }
  ASSERT_EQ(result.exit_code, 0) << result.output;

  std::vector<Entry> entries;
  for (const auto & line : kestrune_test::SplitLines(result.output)) {
    entries.push_back(ParseEntry(line));
  }
  ASSERT_EQ(entries.size(), 2U) << result.output;

  const int info_line =
    LineOf(KESTRUNE_LOGGER_PROBE_SOURCE, "KESTRUNE_LOG_INFO(\"{}\", arg.substr(2))");
  const int error_line =
    LineOf(KESTRUNE_LOGGER_PROBE_SOURCE, "KESTRUNE_LOG_ERROR(\"{}\", arg.substr(2))");
  ASSERT_GT(info_line, 0);
  ASSERT_GT(error_line, 0);

  EXPECT_EQ(entries[0]["MESSAGE"], "  1 [INFO] hello journal");
  EXPECT_EQ(entries[0]["PRIORITY"], "6");
  EXPECT_EQ(entries[0]["SYSLOG_IDENTIFIER"], "spdlog");
  EXPECT_EQ(entries[0]["CODE_FILE"], "./test/support/logger_probe.cpp");
  EXPECT_EQ(entries[0]["CODE_LINE"], std::to_string(info_line));
  EXPECT_EQ(entries[0]["CODE_FUNC"], "main");

  EXPECT_EQ(entries[1]["MESSAGE"], "  2 [ERROR] broken {braces}");
  EXPECT_EQ(entries[1]["PRIORITY"], "3");
  EXPECT_EQ(entries[1]["SYSLOG_IDENTIFIER"], "spdlog");
  EXPECT_EQ(entries[1]["CODE_FILE"], "./test/support/logger_probe.cpp");
  EXPECT_EQ(entries[1]["CODE_LINE"], std::to_string(error_line));
  EXPECT_EQ(entries[1]["CODE_FUNC"], "main");
}

}  // namespace
