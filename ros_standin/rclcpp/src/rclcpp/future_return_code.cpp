#include "rclcpp/future_return_code.hpp"

#include <string>
#include <type_traits>

namespace rclcpp
{

std::ostream & operator<<(std::ostream & os, const rclcpp::FutureReturnCode & future_return_code)
{
  return os << to_string(future_return_code);
}

std::string to_string(const rclcpp::FutureReturnCode & future_return_code)
{
  using enum_type = std::underlying_type<FutureReturnCode>::type;
  std::string prefix = "Unknown enum value (";
  std::string ret_as_string = std::to_string(static_cast<enum_type>(future_return_code));
  switch (future_return_code) {
    case FutureReturnCode::SUCCESS:
      prefix = "SUCCESS (";
      break;
    case FutureReturnCode::INTERRUPTED:
      prefix = "INTERRUPTED (";
      break;
    case FutureReturnCode::TIMEOUT:
      prefix = "TIMEOUT (";
      break;
  }
  return prefix + ret_as_string + ")";
}

}  // namespace rclcpp
