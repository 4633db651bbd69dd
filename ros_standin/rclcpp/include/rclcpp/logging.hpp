#ifndef RCLCPP__LOGGING_HPP_
#define RCLCPP__LOGGING_HPP_

#include <atomic>
#include <cstdint>
#include <sstream>
#include <type_traits>

#include "rclcpp/clock.hpp"
#include "rclcpp/logger.hpp"
#include "rcutils/logging.h"

// The RCLCPP_<LEVEL>[_ONCE|_THROTTLE|_EXPRESSION][_STREAM] macros. Lines go to stderr in
// the default ROS console format "[LEVEL] [<unix time>] [<logger name>]: <message>";
// DEBUG is hidden unless the logger's level was lowered, as with rcutils' default INFO.

namespace rclcpp
{
namespace detail
{

/// True if a message of this severity on this logger would be printed.
bool logging_enabled(const rclcpp::Logger & logger, int severity);

/// Prints one formatted log line.
void log_message(const rclcpp::Logger & logger, int severity, const char * format, ...)
  __attribute__((format(printf, 3, 4)));

/// Prints one log line whose text is already formatted.
void log_string(const rclcpp::Logger & logger, int severity, const std::string & message);

/// True once per `period_ns` of `clock` time (and on the first call).
bool throttle_allows(
  std::atomic<int64_t> & last_logged, const rclcpp::Clock & clock, int64_t period_ns);

}  // namespace detail
}  // namespace rclcpp

#define RCLCPP_STANDIN_ASSERT_LOGGER(logger)                                         \
  static_assert(                                                                     \
    ::std::is_same<                                                                  \
      typename std::remove_cv_t<typename std::remove_reference_t<decltype(logger)>>, \
      typename ::rclcpp::Logger>::value,                                             \
    "First argument to logging macros must be an rclcpp::Logger")

// `condition` sees `rclcpp_standin_enabled_` and may declare statics; the message is
// formatted only when the line is printed.
#define RCLCPP_STANDIN_LOG(severity, condition, logger, ...)                                  \
  do {                                                                                        \
    RCLCPP_STANDIN_ASSERT_LOGGER(logger);                                                     \
    const ::rclcpp::Logger & rclcpp_standin_logger_ = (logger);                               \
    if (::rclcpp::detail::logging_enabled(rclcpp_standin_logger_, severity) && (condition)) { \
      ::rclcpp::detail::log_message(rclcpp_standin_logger_, severity, __VA_ARGS__);           \
    }                                                                                         \
  } while (0)

#define RCLCPP_STANDIN_LOG_STREAM(severity, condition, logger, stream_arg)                     \
  do {                                                                                         \
    RCLCPP_STANDIN_ASSERT_LOGGER(logger);                                                      \
    const ::rclcpp::Logger & rclcpp_standin_logger_ = (logger);                                \
    if (::rclcpp::detail::logging_enabled(rclcpp_standin_logger_, severity) && (condition)) {  \
      std::stringstream rclcpp_stream_ss_;                                                     \
      rclcpp_stream_ss_ << stream_arg;                                                         \
      ::rclcpp::detail::log_string(rclcpp_standin_logger_, severity, rclcpp_stream_ss_.str()); \
    }                                                                                          \
  } while (0)

#define RCLCPP_STANDIN_ONCE_CONDITION                    \
  ([]() {                                                \
    static std::atomic_bool rclcpp_standin_once_{false}; \
    return !rclcpp_standin_once_.exchange(true);         \
  }())

#define RCLCPP_STANDIN_THROTTLE_CONDITION(clock, duration)                      \
  ([&]() {                                                                      \
    static std::atomic<int64_t> rclcpp_standin_last_{INT64_MIN};                \
    return ::rclcpp::detail::throttle_allows(                                   \
      rclcpp_standin_last_, clock, static_cast<int64_t>(duration) * 1000000LL); \
  }())

#define RCLCPP_DEBUG(logger, ...) \
  RCLCPP_STANDIN_LOG(RCUTILS_LOG_SEVERITY_DEBUG, true, logger, __VA_ARGS__)
#define RCLCPP_DEBUG_ONCE(logger, ...) \
  RCLCPP_STANDIN_LOG(RCUTILS_LOG_SEVERITY_DEBUG, RCLCPP_STANDIN_ONCE_CONDITION, logger, __VA_ARGS__)
#define RCLCPP_DEBUG_EXPRESSION(logger, expression, ...) \
  RCLCPP_STANDIN_LOG(RCUTILS_LOG_SEVERITY_DEBUG, (expression), logger, __VA_ARGS__)
#define RCLCPP_DEBUG_THROTTLE(logger, clock, duration, ...)                                 \
  RCLCPP_STANDIN_LOG(                                                                       \
    RCUTILS_LOG_SEVERITY_DEBUG, RCLCPP_STANDIN_THROTTLE_CONDITION(clock, duration), logger, \
    __VA_ARGS__)
#define RCLCPP_DEBUG_STREAM(logger, stream_arg) \
  RCLCPP_STANDIN_LOG_STREAM(RCUTILS_LOG_SEVERITY_DEBUG, true, logger, stream_arg)
#define RCLCPP_DEBUG_STREAM_ONCE(logger, stream_arg) \
  RCLCPP_STANDIN_LOG_STREAM(                         \
    RCUTILS_LOG_SEVERITY_DEBUG, RCLCPP_STANDIN_ONCE_CONDITION, logger, stream_arg)
#define RCLCPP_DEBUG_STREAM_THROTTLE(logger, clock, duration, stream_arg)                   \
  RCLCPP_STANDIN_LOG_STREAM(                                                                \
    RCUTILS_LOG_SEVERITY_DEBUG, RCLCPP_STANDIN_THROTTLE_CONDITION(clock, duration), logger, \
    stream_arg)

#define RCLCPP_INFO(logger, ...) \
  RCLCPP_STANDIN_LOG(RCUTILS_LOG_SEVERITY_INFO, true, logger, __VA_ARGS__)
#define RCLCPP_INFO_ONCE(logger, ...) \
  RCLCPP_STANDIN_LOG(RCUTILS_LOG_SEVERITY_INFO, RCLCPP_STANDIN_ONCE_CONDITION, logger, __VA_ARGS__)
#define RCLCPP_INFO_EXPRESSION(logger, expression, ...) \
  RCLCPP_STANDIN_LOG(RCUTILS_LOG_SEVERITY_INFO, (expression), logger, __VA_ARGS__)
#define RCLCPP_INFO_THROTTLE(logger, clock, duration, ...)                                 \
  RCLCPP_STANDIN_LOG(                                                                      \
    RCUTILS_LOG_SEVERITY_INFO, RCLCPP_STANDIN_THROTTLE_CONDITION(clock, duration), logger, \
    __VA_ARGS__)
#define RCLCPP_INFO_STREAM(logger, stream_arg) \
  RCLCPP_STANDIN_LOG_STREAM(RCUTILS_LOG_SEVERITY_INFO, true, logger, stream_arg)
#define RCLCPP_INFO_STREAM_ONCE(logger, stream_arg) \
  RCLCPP_STANDIN_LOG_STREAM(                        \
    RCUTILS_LOG_SEVERITY_INFO, RCLCPP_STANDIN_ONCE_CONDITION, logger, stream_arg)
#define RCLCPP_INFO_STREAM_THROTTLE(logger, clock, duration, stream_arg)                   \
  RCLCPP_STANDIN_LOG_STREAM(                                                               \
    RCUTILS_LOG_SEVERITY_INFO, RCLCPP_STANDIN_THROTTLE_CONDITION(clock, duration), logger, \
    stream_arg)

#define RCLCPP_WARN(logger, ...) \
  RCLCPP_STANDIN_LOG(RCUTILS_LOG_SEVERITY_WARN, true, logger, __VA_ARGS__)
#define RCLCPP_WARN_ONCE(logger, ...) \
  RCLCPP_STANDIN_LOG(RCUTILS_LOG_SEVERITY_WARN, RCLCPP_STANDIN_ONCE_CONDITION, logger, __VA_ARGS__)
#define RCLCPP_WARN_EXPRESSION(logger, expression, ...) \
  RCLCPP_STANDIN_LOG(RCUTILS_LOG_SEVERITY_WARN, (expression), logger, __VA_ARGS__)
#define RCLCPP_WARN_THROTTLE(logger, clock, duration, ...)                                 \
  RCLCPP_STANDIN_LOG(                                                                      \
    RCUTILS_LOG_SEVERITY_WARN, RCLCPP_STANDIN_THROTTLE_CONDITION(clock, duration), logger, \
    __VA_ARGS__)
#define RCLCPP_WARN_STREAM(logger, stream_arg) \
  RCLCPP_STANDIN_LOG_STREAM(RCUTILS_LOG_SEVERITY_WARN, true, logger, stream_arg)
#define RCLCPP_WARN_STREAM_ONCE(logger, stream_arg) \
  RCLCPP_STANDIN_LOG_STREAM(                        \
    RCUTILS_LOG_SEVERITY_WARN, RCLCPP_STANDIN_ONCE_CONDITION, logger, stream_arg)
#define RCLCPP_WARN_STREAM_THROTTLE(logger, clock, duration, stream_arg)                   \
  RCLCPP_STANDIN_LOG_STREAM(                                                               \
    RCUTILS_LOG_SEVERITY_WARN, RCLCPP_STANDIN_THROTTLE_CONDITION(clock, duration), logger, \
    stream_arg)

#define RCLCPP_ERROR(logger, ...) \
  RCLCPP_STANDIN_LOG(RCUTILS_LOG_SEVERITY_ERROR, true, logger, __VA_ARGS__)
#define RCLCPP_ERROR_ONCE(logger, ...) \
  RCLCPP_STANDIN_LOG(RCUTILS_LOG_SEVERITY_ERROR, RCLCPP_STANDIN_ONCE_CONDITION, logger, __VA_ARGS__)
#define RCLCPP_ERROR_EXPRESSION(logger, expression, ...) \
  RCLCPP_STANDIN_LOG(RCUTILS_LOG_SEVERITY_ERROR, (expression), logger, __VA_ARGS__)
#define RCLCPP_ERROR_THROTTLE(logger, clock, duration, ...)                                 \
  RCLCPP_STANDIN_LOG(                                                                       \
    RCUTILS_LOG_SEVERITY_ERROR, RCLCPP_STANDIN_THROTTLE_CONDITION(clock, duration), logger, \
    __VA_ARGS__)
#define RCLCPP_ERROR_STREAM(logger, stream_arg) \
  RCLCPP_STANDIN_LOG_STREAM(RCUTILS_LOG_SEVERITY_ERROR, true, logger, stream_arg)
#define RCLCPP_ERROR_STREAM_ONCE(logger, stream_arg) \
  RCLCPP_STANDIN_LOG_STREAM(                         \
    RCUTILS_LOG_SEVERITY_ERROR, RCLCPP_STANDIN_ONCE_CONDITION, logger, stream_arg)
#define RCLCPP_ERROR_STREAM_THROTTLE(logger, clock, duration, stream_arg)                   \
  RCLCPP_STANDIN_LOG_STREAM(                                                                \
    RCUTILS_LOG_SEVERITY_ERROR, RCLCPP_STANDIN_THROTTLE_CONDITION(clock, duration), logger, \
    stream_arg)

#define RCLCPP_FATAL(logger, ...) \
  RCLCPP_STANDIN_LOG(RCUTILS_LOG_SEVERITY_FATAL, true, logger, __VA_ARGS__)
#define RCLCPP_FATAL_ONCE(logger, ...) \
  RCLCPP_STANDIN_LOG(RCUTILS_LOG_SEVERITY_FATAL, RCLCPP_STANDIN_ONCE_CONDITION, logger, __VA_ARGS__)
#define RCLCPP_FATAL_EXPRESSION(logger, expression, ...) \
  RCLCPP_STANDIN_LOG(RCUTILS_LOG_SEVERITY_FATAL, (expression), logger, __VA_ARGS__)
#define RCLCPP_FATAL_THROTTLE(logger, clock, duration, ...)                                 \
  RCLCPP_STANDIN_LOG(                                                                       \
    RCUTILS_LOG_SEVERITY_FATAL, RCLCPP_STANDIN_THROTTLE_CONDITION(clock, duration), logger, \
    __VA_ARGS__)
#define RCLCPP_FATAL_STREAM(logger, stream_arg) \
  RCLCPP_STANDIN_LOG_STREAM(RCUTILS_LOG_SEVERITY_FATAL, true, logger, stream_arg)
#define RCLCPP_FATAL_STREAM_ONCE(logger, stream_arg) \
  RCLCPP_STANDIN_LOG_STREAM(                         \
    RCUTILS_LOG_SEVERITY_FATAL, RCLCPP_STANDIN_ONCE_CONDITION, logger, stream_arg)
#define RCLCPP_FATAL_STREAM_THROTTLE(logger, clock, duration, stream_arg)                   \
  RCLCPP_STANDIN_LOG_STREAM(                                                                \
    RCUTILS_LOG_SEVERITY_FATAL, RCLCPP_STANDIN_THROTTLE_CONDITION(clock, duration), logger, \
    stream_arg)

#endif  // RCLCPP__LOGGING_HPP_
