#ifndef RCLCPP__PARAMETER_HPP_
#define RCLCPP__PARAMETER_HPP_

#include <cstdint>
#include <iostream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "rcl_interfaces/msg/parameter.hpp"
#include "rcl_interfaces/msg/parameter_value.hpp"
#include "rclcpp/parameter_value.hpp"

namespace rclcpp
{

class Parameter;

namespace node_interfaces
{
struct ParameterInfo;
}  // namespace node_interfaces

namespace detail
{

// Lets Parameter::get_value<T>() also hand out the ParameterValue or the Parameter itself.
template<typename T>
decltype(auto) get_value_helper(const rclcpp::Parameter * parameter);

}  // namespace detail

/// @brief A parameter name with its value.
class Parameter
{
public:
  Parameter();

  explicit Parameter(const std::string & name);

  Parameter(const std::string & name, const ParameterValue & value);

  template<typename ValueTypeT>
  Parameter(const std::string & name, ValueTypeT value)
  : Parameter(name, ParameterValue(value))
  {
  }

  explicit Parameter(const rclcpp::node_interfaces::ParameterInfo & parameter_info);

  bool operator==(const Parameter & rhs) const;

  bool operator!=(const Parameter & rhs) const;

  ParameterType get_type() const;

  std::string get_type_name() const;

  const std::string & get_name() const;

  rcl_interfaces::msg::ParameterValue get_value_message() const;

  const rclcpp::ParameterValue & get_parameter_value() const;

  template<ParameterType ParamT>
  decltype(auto) get_value() const
  {
    return value_.get<ParamT>();
  }

  template<typename T>
  decltype(auto) get_value() const;

  bool as_bool() const;

  int64_t as_int() const;

  double as_double() const;

  const std::string & as_string() const;

  const std::vector<uint8_t> & as_byte_array() const;

  const std::vector<bool> & as_bool_array() const;

  const std::vector<int64_t> & as_integer_array() const;

  const std::vector<double> & as_double_array() const;

  const std::vector<std::string> & as_string_array() const;

  static Parameter from_parameter_msg(const rcl_interfaces::msg::Parameter & parameter);

  rcl_interfaces::msg::Parameter to_parameter_msg() const;

  std::string value_to_string() const;

private:
  std::string name_;
  ParameterValue value_;
};

/// @brief `"name": {"type": "...", "value": "..."}`, one entry of a JSON dict.
std::string _to_json_dict_entry(const Parameter & param);

std::ostream & operator<<(std::ostream & os, const rclcpp::Parameter & pv);

std::ostream & operator<<(std::ostream & os, const std::vector<Parameter> & parameters);

namespace detail
{

template<typename T>
decltype(auto) get_value_helper(const rclcpp::Parameter * parameter)
{
  return parameter->get_parameter_value().get<T>();
}

template<>
inline decltype(auto) get_value_helper<rclcpp::ParameterValue>(const rclcpp::Parameter * parameter)
{
  return parameter->get_parameter_value();
}

template<>
inline decltype(auto) get_value_helper<rclcpp::Parameter>(const rclcpp::Parameter * parameter)
{
  // The lambda makes the deduced type a const reference rather than a copy.
  auto type_enforcing_lambda = [&parameter]() -> const rclcpp::Parameter & { return *parameter; };
  return type_enforcing_lambda();
}

}  // namespace detail

template<typename T>
decltype(auto) Parameter::get_value() const
{
  return detail::get_value_helper<T>(this);
}

}  // namespace rclcpp

namespace std
{

/// @brief `{"name": "...", "type": "...", "value": "..."}`
std::string to_string(const rclcpp::Parameter & param);

/// @brief `{"a": {...}, "b": {...}}`
std::string to_string(const std::vector<rclcpp::Parameter> & parameters);

}  // namespace std

#endif  // RCLCPP__PARAMETER_HPP_
