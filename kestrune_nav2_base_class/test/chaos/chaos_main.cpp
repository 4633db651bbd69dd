// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// The randomized lifecycle test. Each round runs in a child process of its
// own; the parent counts the rounds that crash, hang (run over their time
// limit) or draw a sanitizer report, and prints each one's seed and the end
// of its operation log. A round replays with the same seed:
//   kestrune_chaos --rounds 200 --pattern all [--seed 1] [--upstream]
//   kestrune_chaos --replay <seed> --pattern <pattern> [--upstream]
// Patterns: host-thread, change-state, multi-threaded, spin-some,
// busy-neighbour, mixed, from-callback (chaos_round.hpp says what each does).

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "chaos_round.hpp"
#include "support/process.hpp"
#include "support/ros_domain.hpp"

namespace kestrune_chaos
{
namespace
{

struct Options
{
  int rounds{100};
  std::uint64_t first_seed{1};
  bool replay{false};
  std::vector<Pattern> patterns{std::begin(kAllPatterns), std::end(kAllPatterns)};
  Subject subject{Subject::kOurs};
  int operations{60};
  int round_seconds{120};
};

[[noreturn]] void Usage(const std::string & problem)
{
  std::fprintf(
    stderr,
    "%s\nusage: kestrune_chaos [--rounds N] [--seed S] [--replay S] "
    "[--pattern <pattern>|all] [--upstream] [--operations N] "
    "[--round-seconds N]\n",
    problem.c_str());
  std::exit(2);
}

Options Parse(int argc, char ** argv)
{
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        Usage("'" + arg + "' needs a value");
      }
      return argv[++i];
    };
    const auto number = [&]() -> unsigned long long {
      const std::string text = value();
      char * end = nullptr;
      const auto parsed = std::strtoull(text.c_str(), &end, 10);
      if (text.empty() || *end != '\0') {
        Usage("'" + arg + "' takes a number, not '" + text + "'");
      }
      return parsed;
    };
    if (arg == "--rounds") {
      options.rounds = static_cast<int>(number());
    } else if (arg == "--seed") {
      options.first_seed = number();
    } else if (arg == "--replay") {
      options.first_seed = number();
      options.replay = true;
    } else if (arg == "--operations") {
      options.operations = static_cast<int>(number());
    } else if (arg == "--round-seconds") {
      options.round_seconds = static_cast<int>(number());
    } else if (arg == "--upstream") {
      options.subject = Subject::kUpstream;
    } else if (arg == "--pattern") {
      const std::string name = value();
      Pattern pattern{};
      if (PatternNamed(name, pattern)) {
        options.patterns = {pattern};
      } else if (name != "all") {
        Usage("unknown pattern '" + name + "'");
      }
    } else {
      Usage("unknown argument '" + arg + "'");
    }
  }
  if (options.replay && options.patterns.size() != 1) {
    Usage("--replay needs one --pattern");
  }
  return options;
}

enum class Outcome
{
  kPassed,
  kCrashed,
  kHung,
  kReported
};

struct RoundResult
{
  Outcome outcome{Outcome::kPassed};
  std::string detail;
  std::string output;
};

bool HasSanitizerReport(const std::string & output)
{
  for (const char * mark :
       {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "WARNING: ThreadSanitizer",
        "runtime error:", "ERROR: ThreadSanitizer"}) {
    if (output.find(mark) != std::string::npos) {
      return true;
    }
  }
  return false;
}

/// Runs one round in a child process, its stdout and stderr captured together.
RoundResult RunChild(const RoundOptions & round, int round_seconds)
{
  int fds[2];
  if (pipe(fds) != 0) {
    throw std::runtime_error(std::string("pipe failed: ") + std::strerror(errno));
  }
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) {
    throw std::runtime_error(std::string("fork failed: ") + std::strerror(errno));
  }
  if (pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    dup2(fds[1], STDERR_FILENO);
    close(fds[0]);
    close(fds[1]);
    std::_Exit(RunRound(round));
  }
  close(fds[1]);
  RoundResult result;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(round_seconds);
  bool hung = false;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      hung = true;
      kill(pid, SIGKILL);
      break;
    }
    pollfd poll_fd{fds[0], POLLIN, 0};
    if (poll(&poll_fd, 1, static_cast<int>(left.count())) <= 0) {
      continue;
    }
    char buffer[4096];
    const ssize_t n = read(fds[0], buffer, sizeof(buffer));
    if (n <= 0) {
      break;
    }
    result.output.append(buffer, static_cast<size_t>(n));
  }
  close(fds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (HasSanitizerReport(result.output)) {
    result.outcome = Outcome::kReported;
    result.detail = "sanitizer report";
  } else if (hung) {
    result.outcome = Outcome::kHung;
    result.detail = "over its " + std::to_string(round_seconds) + " s limit";
  } else if (WIFSIGNALED(status)) {
    result.outcome = Outcome::kCrashed;
    result.detail = std::string("signal ") + strsignal(WTERMSIG(status));
  } else if (WEXITSTATUS(status) != 0) {
    result.outcome = Outcome::kCrashed;
    result.detail = "exit status " + std::to_string(WEXITSTATUS(status));
  }
  return result;
}

/// The round's operation log (its last lines) and any report, for the reader.
void PrintFailure(const RoundOptions & round, const RoundResult & result)
{
  std::printf(
    "FAILED round: seed %llu, %s, %s node: %s\n", static_cast<unsigned long long>(round.seed),
    Name(round.pattern), Name(round.subject), result.detail.c_str());
  std::printf(
    "  replay: kestrune_chaos --replay %llu --pattern %s%s\n",
    static_cast<unsigned long long>(round.seed), Name(round.pattern),
    round.subject == Subject::kUpstream ? " --upstream" : "");
  // A sanitizer's report whole (up to 150 lines), then the end of the log.
  for (const char * mark :
       {"WARNING: ThreadSanitizer", "ERROR: AddressSanitizer", "ERROR: LeakSanitizer",
        "runtime error:"}) {
    const size_t at = result.output.find(mark);
    if (at != std::string::npos) {
      size_t end = at;
      for (int lines = 0; lines < 150 && end != std::string::npos; ++lines) {
        end = result.output.find('\n', end + 1);
      }
      std::printf("  report:\n%s\n", result.output.substr(at, end - at).c_str());
      break;
    }
  }
  const auto lines = kestrune_test::SplitLines(result.output);
  const std::vector<std::string> tail(
    lines.end() - static_cast<std::ptrdiff_t>(std::min<size_t>(lines.size(), 40)), lines.end());
  for (const auto & line : tail) {
    std::printf("  | %s\n", line.c_str());
  }
}

int Main(int argc, char ** argv)
{
  const Options options = Parse(argc, argv);
  if (options.replay) {
    // In this process, so that a debugger sees the round as it runs.
    kestrune_test::ClaimRosDomain();
    RoundOptions round{
      options.first_seed, options.patterns.front(), options.subject, options.operations};
    return RunRound(round);
  }
  // One DDS domain for all the rounds of this parent: they run one at a time.
  const int domain = kestrune_test::ClaimRosDomain();
  int failures[4] = {0, 0, 0, 0};
  std::map<Pattern, std::array<int, 4>> by_pattern;
  std::uint64_t seed = options.first_seed;
  const auto started = std::chrono::steady_clock::now();
  for (int i = 0; i < options.rounds; ++i, ++seed) {
    for (const Pattern pattern : options.patterns) {
      const RoundOptions round{seed, pattern, options.subject, options.operations};
      const RoundResult result = RunChild(round, options.round_seconds);
      ++failures[static_cast<int>(result.outcome)];
      ++by_pattern[pattern][static_cast<int>(result.outcome)];
      if (result.outcome != Outcome::kPassed) {
        PrintFailure(round, result);
      }
    }
    // A soak cut short still has its figures.
    if ((i + 1) % 100 == 0) {
      std::printf(
        "progress: %d rounds, %d crashes, %d hangs, %d sanitizer reports\n",
        (i + 1) * static_cast<int>(options.patterns.size()), failures[1], failures[2], failures[3]);
      std::fflush(stdout);
    }
  }
  const auto seconds =
    std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started)
      .count();
  const int rounds = options.rounds * static_cast<int>(options.patterns.size());
  std::printf(
    "%s node, seeds %llu..%llu, %s, DDS domain %d: %d rounds, %d crashes, %d hangs, "
    "%d sanitizer reports, %lld s\n",
    Name(options.subject), static_cast<unsigned long long>(options.first_seed),
    static_cast<unsigned long long>(seed - 1),
    options.patterns.size() > 1 ? "all patterns" : Name(options.patterns.front()), domain, rounds,
    failures[1], failures[2], failures[3], static_cast<long long>(seconds));
  if (options.patterns.size() > 1) {
    for (const auto & [pattern, counts] : by_pattern) {
      std::printf(
        "  %s: %d rounds, %d crashes, %d hangs, %d sanitizer reports\n", Name(pattern),
        counts[0] + counts[1] + counts[2] + counts[3], counts[1], counts[2], counts[3]);
    }
  }
  return failures[1] + failures[2] + failures[3] == 0 ? 0 : 1;
}

}  // namespace
}  // namespace kestrune_chaos

int main(int argc, char ** argv)
{
  return kestrune_chaos::Main(argc, argv);
}
