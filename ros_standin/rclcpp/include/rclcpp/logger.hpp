#ifndef RCLCPP__LOGGER_HPP_
#define RCLCPP__LOGGER_HPP_

#include <memory>
#include <string>

#include "rcutils/logging.h"

namespace rclcpp
{

class Logger;

namespace node_interfaces
{
class NodeLogging;
}  // namespace node_interfaces

/// @brief A logger with the given name (dots separate the levels of the hierarchy).
Logger get_logger(const std::string & name);

/// @brief A named logger; cheap to copy.
class Logger
{
public:
  enum class Level
  {
    Unset = RCUTILS_LOG_SEVERITY_UNSET,
    Debug = RCUTILS_LOG_SEVERITY_DEBUG,
    Info = RCUTILS_LOG_SEVERITY_INFO,
    Warn = RCUTILS_LOG_SEVERITY_WARN,
    Error = RCUTILS_LOG_SEVERITY_ERROR,
    Fatal = RCUTILS_LOG_SEVERITY_FATAL,
  };

private:
  friend Logger rclcpp::get_logger(const std::string & name);
  friend ::rclcpp::node_interfaces::NodeLogging;

  // A logger without a name logs nothing (upstream's "dummy" logger).
  Logger()
  : name_(nullptr)
  {
  }

  explicit Logger(const std::string & name)
  : name_(new std::string(name))
  {
  }

  std::shared_ptr<const std::string> name_;

public:
  /// @brief The logger's name, or nullptr for a dummy logger.
  const char * get_name() const
  {
    if (!name_) {
      return nullptr;
    }
    return name_->c_str();
  }

  /// @brief The logger "<name>.<suffix>".
  Logger get_child(const std::string & suffix)
  {
    if (!name_) {
      return Logger();
    }
    return Logger(*name_ + "." + suffix);
  }

  /// @brief Sets the level of this logger (and of its descendants that have none set).
  void set_level(Level level);
};

}  // namespace rclcpp

#endif  // RCLCPP__LOGGER_HPP_
