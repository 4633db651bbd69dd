#ifndef RCLCPP__VISIBILITY_CONTROL_HPP_
#define RCLCPP__VISIBILITY_CONTROL_HPP_

// The stand-in builds with default visibility, so the export macros only exist
// for code written against upstream headers that spells them out.
#define RCLCPP_EXPORT __attribute__((visibility("default")))
#define RCLCPP_IMPORT
#define RCLCPP_PUBLIC __attribute__((visibility("default")))
#define RCLCPP_LOCAL __attribute__((visibility("hidden")))
#define RCLCPP_PUBLIC_TYPE

#endif  // RCLCPP__VISIBILITY_CONTROL_HPP_
