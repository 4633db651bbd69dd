#ifndef RCLCPP__INIT_OPTIONS_HPP_
#define RCLCPP__INIT_OPTIONS_HPP_

#include "rcl/allocator.h"

namespace rclcpp
{

/// @brief Options for Context::init / rclcpp::init.
class InitOptions
{
public:
  /// @brief If true, the signal handler (when installed) shuts this context down on SIGINT/SIGTERM.
  bool shutdown_on_signal = true;

  /// @brief Default options; the allocator is kept only for API compatibility.
  explicit InitOptions(rcl_allocator_t allocator = rcl_get_default_allocator())
  : allocator_(allocator)
  {
  }

  virtual ~InitOptions() = default;

  /// @brief Whether init sets up logging; kept for API compatibility.
  bool auto_initialize_logging() const { return initialize_logging_; }

  /// @brief Sets whether init sets up logging.
  InitOptions & auto_initialize_logging(bool initialize_logging)
  {
    initialize_logging_ = initialize_logging;
    return *this;
  }

private:
  rcl_allocator_t allocator_;
  bool initialize_logging_{true};
};

}  // namespace rclcpp

#endif  // RCLCPP__INIT_OPTIONS_HPP_
