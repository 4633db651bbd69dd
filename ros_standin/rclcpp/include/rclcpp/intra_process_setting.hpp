#ifndef RCLCPP__INTRA_PROCESS_SETTING_HPP_
#define RCLCPP__INTRA_PROCESS_SETTING_HPP_

namespace rclcpp
{

/// @brief Whether an endpoint uses intra-process communication (everything is in-process
/// in the stand-in, so the setting is stored only).
enum class IntraProcessSetting
{
  Enable,
  Disable,
  NodeDefault
};

}  // namespace rclcpp

#endif  // RCLCPP__INTRA_PROCESS_SETTING_HPP_
