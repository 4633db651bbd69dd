#ifndef RCLCPP__FUTURE_RETURN_CODE_HPP_
#define RCLCPP__FUTURE_RETURN_CODE_HPP_

#include <iostream>
#include <string>

namespace rclcpp
{

/// @brief How spin_until_future_complete ended.
enum class FutureReturnCode
{
  SUCCESS,
  INTERRUPTED,
  TIMEOUT
};

std::ostream & operator<<(std::ostream & os, const FutureReturnCode & future_return_code);

/// @brief "SUCCESS (0)", "INTERRUPTED (1)" or "TIMEOUT (2)".
std::string to_string(const FutureReturnCode & future_return_code);

}  // namespace rclcpp

#endif  // RCLCPP__FUTURE_RETURN_CODE_HPP_
