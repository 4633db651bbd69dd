#include "rclcpp/logger.hpp"

#include <chrono>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "rclcpp/logging.hpp"

namespace rclcpp
{

namespace
{

// Logger levels by name; a logger without its own level inherits its closest ancestor's
// ("a.b.c" -> "a.b" -> "a"), and the default is INFO, as in rcutils.
struct LoggerLevels
{
  std::mutex mutex;
  std::map<std::string, int> levels;
};

LoggerLevels & logger_levels()
{
  static LoggerLevels instance;
  return instance;
}

constexpr int kDefaultSeverity = RCUTILS_LOG_SEVERITY_INFO;

int effective_level(const std::string & name)
{
  auto & registry = logger_levels();
  std::lock_guard<std::mutex> lock(registry.mutex);
  if (registry.levels.empty()) {
    return kDefaultSeverity;
  }
  std::string current = name;
  while (true) {
    auto it = registry.levels.find(current);
    if (it != registry.levels.end() && it->second != RCUTILS_LOG_SEVERITY_UNSET) {
      return it->second;
    }
    const auto dot = current.rfind('.');
    if (dot == std::string::npos) {
      return kDefaultSeverity;
    }
    current.erase(dot);
  }
}

const char * severity_name(int severity)
{
  switch (severity) {
    case RCUTILS_LOG_SEVERITY_DEBUG:
      return "DEBUG";
    case RCUTILS_LOG_SEVERITY_INFO:
      return "INFO";
    case RCUTILS_LOG_SEVERITY_WARN:
      return "WARN";
    case RCUTILS_LOG_SEVERITY_ERROR:
      return "ERROR";
    case RCUTILS_LOG_SEVERITY_FATAL:
      return "FATAL";
    default:
      return "UNSET";
  }
}

}  // namespace

Logger get_logger(const std::string & name)
{
  return rclcpp::Logger(name);
}

void Logger::set_level(Level level)
{
  if (!name_) {
    return;
  }
  auto & registry = logger_levels();
  std::lock_guard<std::mutex> lock(registry.mutex);
  registry.levels[*name_] = static_cast<int>(level);
}

namespace detail
{

bool logging_enabled(const rclcpp::Logger & logger, int severity)
{
  const char * name = logger.get_name();
  if (name == nullptr) {
    return false;
  }
  return severity >= effective_level(name);
}

void log_string(const rclcpp::Logger & logger, int severity, const std::string & message)
{
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const int64_t ns = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
  // The ROS console default: "[{severity}] [{time}] [{name}]: {message}", written as one
  // fprintf so lines from different threads do not interleave.
  std::fprintf(
    stderr, "[%s] [%lld.%09lld] [%s]: %s\n", severity_name(severity),
    static_cast<long long>(ns / 1000000000LL), static_cast<long long>(ns % 1000000000LL),
    logger.get_name(), message.c_str());
}

void log_message(const rclcpp::Logger & logger, int severity, const char * format, ...)
{
  va_list args;
  va_start(args, format);
  va_list args_copy;
  va_copy(args_copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, args_copy);
  va_end(args_copy);
  std::string message;
  if (length > 0) {
    std::vector<char> buffer(static_cast<size_t>(length) + 1u);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    message.assign(buffer.data(), static_cast<size_t>(length));
  }
  va_end(args);
  log_string(logger, severity, message);
}

bool throttle_allows(
  std::atomic<int64_t> & last_logged, const rclcpp::Clock & clock, int64_t period_ns)
{
  const int64_t now = clock.now().nanoseconds();
  int64_t last = last_logged.load();
  if (last != INT64_MIN && now - last < period_ns) {
    return false;
  }
  return last_logged.compare_exchange_strong(last, now);
}

}  // namespace detail
}  // namespace rclcpp
