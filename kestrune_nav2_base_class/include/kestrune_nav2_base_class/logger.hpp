// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_NAV2_BASE_CLASS__LOGGER_HPP_
#define KESTRUNE_NAV2_BASE_CLASS__LOGGER_HPP_

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <fmt/format.h>
#include <spdlog/logger.h>
#include <spdlog/sinks/ansicolor_sink.h>
#include <spdlog/sinks/systemd_sink.h>

// The instance must be one per process even when several shared objects include
// this header, so its symbols keep default visibility whatever the build's
// -fvisibility says.
#define KESTRUNE_LOGGER_PUBLIC __attribute__((visibility("default")))

namespace kestrune
{

namespace detail
{
template<typename... Args>
void Log(
  const spdlog::source_loc & location, spdlog::level::level_enum level,
  fmt::format_string<Args...> format, Args &&... args);
}  // namespace detail

/**
 * @brief The library's process-wide logger: one spdlog logger whose sinks and
 * level are chosen once, from the environment, at the first log call.
 *
 * | Variable         | Accepted values                               | Default |
 * |------------------|-----------------------------------------------|---------|
 * | `SPDLOG_STDOUT`  | "true", "false"                               | true    |
 * | `SPDLOG_SYSTEMD` | "true", "false"                               | false   |
 * | `SPDLOG_LEVEL`   | "trace" "debug" "info" "warning" "error" "critical" | info |
 *
 * A missing or invalid value falls back to the default with one diagnostic
 * line on standard output. The spdlog logger is deliberately not registered
 * in spdlog's registry, so a host's spdlog configuration cannot reach it.
 */
class KESTRUNE_LOGGER_PUBLIC Logger
{
public:
  /// @brief The one instance of the process; the first call runs the set-up.
  static Logger & Instance()
  {
    static Logger instance("spdlog");
    return instance;
  }

  /// @brief Runs the set-up; only Instance() constructs a Logger.
  explicit Logger(const std::string & name)
  {
    try {
      Setup(name);
    } catch (const spdlog::spdlog_ex &) {
      // A sink that cannot be built must not take the host down; the logger
      // then writes nothing: a log call finds no spdlog logger and returns.
    } catch (...) {
      logger_.reset();
      throw;
    }
  }

  Logger(const Logger &) = delete;
  Logger & operator=(const Logger &) = delete;
  ~Logger() = default;

  /// @brief A handle to the spdlog logger; empty when set-up ended early.
  std::shared_ptr<spdlog::logger> GetLogger() const { return logger_; }

  /// @brief The level chosen from the environment.
  spdlog::level::level_enum GetLevel() const
  {
    return static_cast<spdlog::level::level_enum>(level_);
  }

  /**
   * @brief The sequence number for a line of @p level: 1..127, 0, 1, ...
   * counting only lines that pass the level. Lock-free and safe from any
   * thread; the 8-bit counter wraps from 255 to 0, masked to 0..127.
   */
  unsigned int NextSequence(spdlog::level::level_enum level)
  {
    if (level_ <= static_cast<int>(level)) {
      const std::uint8_t value = static_cast<std::uint8_t>(sequence_.fetch_add(1) + 1U);
      return value & 127U;
    }
    return sequence_.load() & 127U;
  }

private:
  // A log call reads logger_ in place rather than through a GetLogger() copy:
  // logger_ is set once, before Instance() first returns, and lives as long as
  // the instance, so a copy would protect nothing, while its reference count,
  // shared by every logging thread, would bounce between their cores.
  template<typename... Args>
  friend void detail::Log(
    const spdlog::source_loc & location, spdlog::level::level_enum level,
    fmt::format_string<Args...> format, Args &&... args);

  enum class Choice
  {
    kNotSet,
    kValid,
    kInvalid
  };

  static Choice ReadBool(const char * variable, bool default_value, bool & value)
  {
    const char * text = std::getenv(variable);
    value = default_value;
    if (text == nullptr) {
      return Choice::kNotSet;
    }
    const std::string s(text);
    if (s == "true" || s == "false") {
      value = (s == "true");
      return Choice::kValid;
    }
    return Choice::kInvalid;
  }

  static void Diagnose(Choice choice, const char * variable, const char * fallback)
  {
    if (choice == Choice::kNotSet) {
      std::cout << "environment variable " << variable << " is not set, and set " << fallback
                << "\n";
    } else if (choice == Choice::kInvalid) {
      std::cout << "environment variable " << variable << " is invalid, and set " << fallback
                << "\n";
    }
  }

  void Setup(const std::string & name)
  {
    std::vector<spdlog::sink_ptr> sinks;

    bool to_stdout = true;
    const Choice stdout_choice = ReadBool("SPDLOG_STDOUT", true, to_stdout);
    Diagnose(stdout_choice, "SPDLOG_STDOUT", "true");
    if (to_stdout) {
      sinks.push_back(
        std::make_shared<spdlog::sinks::ansicolor_stdout_sink<spdlog::details::console_mutex>>());
    }

    bool to_journal = false;
    const Choice journal_choice = ReadBool("SPDLOG_SYSTEMD", false, to_journal);
    Diagnose(journal_choice, "SPDLOG_SYSTEMD", "false");
    if (to_journal) {
      sinks.push_back(std::make_shared<spdlog::sinks::systemd_sink<std::mutex>>());
    }

    logger_ = std::make_shared<spdlog::logger>(name, sinks.begin(), sinks.end());

    int level = spdlog::level::info;
    if (const char * text = std::getenv("SPDLOG_LEVEL")) {
      const std::map<std::string, int> levels{
        {"trace", spdlog::level::trace}, {"debug", spdlog::level::debug},
        {"info", spdlog::level::info},   {"warning", spdlog::level::warn},
        {"error", spdlog::level::err},   {"critical", spdlog::level::critical}};
      try {
        level = levels.at(text);
      } catch (const std::out_of_range &) {
        Diagnose(Choice::kInvalid, "SPDLOG_LEVEL", "default level");
      }
    } else {
      Diagnose(Choice::kNotSet, "SPDLOG_LEVEL", "default level");
    }
    level_ = level;
    logger_->set_level(static_cast<spdlog::level::level_enum>(level));
    logger_->set_pattern("%v", spdlog::pattern_time_type::local);
  }

  std::shared_ptr<spdlog::logger> logger_;
  int level_{spdlog::level::info};
  // Every line that passes the level writes the counter; on a cache line of
  // its own, those writes do not evict logger_ and level_, which every line
  // reads, from the other cores.
  alignas(64) std::atomic<std::uint8_t> sequence_{0};
};

namespace detail
{

/// @brief Appends "<n> [INFO] " or "<n> [ERROR] ", the number right-aligned
/// in three columns. Written by hand: it runs for every line, and a second
/// fmt call would cost as much as the message's own.
inline void AppendPrefix(fmt::memory_buffer & text, unsigned int sequence, bool error)
{
  char digits[3] = {' ', ' ', static_cast<char>('0' + sequence % 10U)};
  if (sequence >= 10U) {
    digits[1] = static_cast<char>('0' + sequence / 10U % 10U);
  }
  if (sequence >= 100U) {
    digits[0] = static_cast<char>('0' + sequence / 100U);
  }
  text.append(digits, digits + 3);
  const fmt::string_view tag = error ? fmt::string_view(" [ERROR] ") : fmt::string_view(" [INFO] ");
  text.append(tag.begin(), tag.end());
}

/// @brief One log call: prefix with the sequence number, then the message,
/// handed to spdlog as finished text with the call's source location.
template<typename... Args>
void Log(
  const spdlog::source_loc & location, spdlog::level::level_enum level,
  fmt::format_string<Args...> format, Args &&... args)
{
  Logger & instance = Logger::Instance();
  spdlog::logger * const logger = instance.logger_.get();
  if (logger == nullptr) {
    return;
  }
  const unsigned int sequence = instance.NextSequence(level);
  // The counter only moves for lines that pass the level, so a line below it
  // has nothing to show and need not be formatted.
  if (!logger->should_log(level)) {
    return;
  }
  fmt::memory_buffer text;
  AppendPrefix(text, sequence, level == spdlog::level::err);
  fmt::format_to(std::back_inserter(text), format, std::forward<Args>(args)...);
  logger->log(location, level, spdlog::string_view_t(text.data(), text.size()));
}

}  // namespace detail
}  // namespace kestrune

#define KESTRUNE_LOG_AT(level, ...)                                                       \
  ::kestrune::detail::Log(                                                                \
    ::spdlog::source_loc{__FILE__, __LINE__, static_cast<const char *>(__func__)}, level, \
    __VA_ARGS__)

/// @brief Logs an info line: "<n> [INFO] <message>", fmt placeholders.
#define KESTRUNE_LOG_INFO(...) KESTRUNE_LOG_AT(::spdlog::level::info, __VA_ARGS__)

/// @brief Logs an error line: "<n> [ERROR] <message>", fmt placeholders.
#define KESTRUNE_LOG_ERROR(...) KESTRUNE_LOG_AT(::spdlog::level::err, __VA_ARGS__)

#endif  // KESTRUNE_NAV2_BASE_CLASS__LOGGER_HPP_
