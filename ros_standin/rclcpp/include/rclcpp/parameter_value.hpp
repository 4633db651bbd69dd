#ifndef RCLCPP__PARAMETER_VALUE_HPP_
#define RCLCPP__PARAMETER_VALUE_HPP_

#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "rcl_interfaces/msg/parameter_type.hpp"
#include "rcl_interfaces/msg/parameter_value.hpp"

namespace rclcpp
{

enum ParameterType : uint8_t
{
  PARAMETER_NOT_SET = rcl_interfaces::msg::ParameterType::PARAMETER_NOT_SET,
  PARAMETER_BOOL = rcl_interfaces::msg::ParameterType::PARAMETER_BOOL,
  PARAMETER_INTEGER = rcl_interfaces::msg::ParameterType::PARAMETER_INTEGER,
  PARAMETER_DOUBLE = rcl_interfaces::msg::ParameterType::PARAMETER_DOUBLE,
  PARAMETER_STRING = rcl_interfaces::msg::ParameterType::PARAMETER_STRING,
  PARAMETER_BYTE_ARRAY = rcl_interfaces::msg::ParameterType::PARAMETER_BYTE_ARRAY,
  PARAMETER_BOOL_ARRAY = rcl_interfaces::msg::ParameterType::PARAMETER_BOOL_ARRAY,
  PARAMETER_INTEGER_ARRAY = rcl_interfaces::msg::ParameterType::PARAMETER_INTEGER_ARRAY,
  PARAMETER_DOUBLE_ARRAY = rcl_interfaces::msg::ParameterType::PARAMETER_DOUBLE_ARRAY,
  PARAMETER_STRING_ARRAY = rcl_interfaces::msg::ParameterType::PARAMETER_STRING_ARRAY,
};

/// @brief The upstream name of a parameter type ("not set", "bool", "integer", ...).
std::string to_string(ParameterType type);

std::ostream & operator<<(std::ostream & os, ParameterType type);

/// @brief Thrown when a value is read as a type it does not hold.
class ParameterTypeException : public std::runtime_error
{
public:
  ParameterTypeException(ParameterType expected, ParameterType actual)
  : std::runtime_error("expected [" + to_string(expected) + "] got [" + to_string(actual) + "]")
  {
  }
};

/// @brief The type and value of a parameter, stored in its message form as upstream does.
class ParameterValue
{
public:
  ParameterValue();
  explicit ParameterValue(const rcl_interfaces::msg::ParameterValue & value);
  explicit ParameterValue(const bool bool_value);
  explicit ParameterValue(const int int_value);
  explicit ParameterValue(const int64_t int_value);
  explicit ParameterValue(const float double_value);
  explicit ParameterValue(const double double_value);
  explicit ParameterValue(const std::string & string_value);
  explicit ParameterValue(const char * string_value);
  explicit ParameterValue(const std::vector<uint8_t> & byte_array_value);
  explicit ParameterValue(const std::vector<bool> & bool_array_value);
  explicit ParameterValue(const std::vector<int> & int_array_value);
  explicit ParameterValue(const std::vector<int64_t> & int_array_value);
  explicit ParameterValue(const std::vector<float> & double_array_value);
  explicit ParameterValue(const std::vector<double> & double_array_value);
  explicit ParameterValue(const std::vector<std::string> & string_array_value);

  ParameterType get_type() const;

  rcl_interfaces::msg::ParameterValue to_value_msg() const;

  bool operator==(const ParameterValue & rhs) const;

  bool operator!=(const ParameterValue & rhs) const;

  // get() by ParameterType

  template<ParameterType type>
  constexpr typename std::enable_if<type == ParameterType::PARAMETER_BOOL, const bool &>::type get()
    const
  {
    check_type(ParameterType::PARAMETER_BOOL);
    return value_.bool_value;
  }

  template<ParameterType type>
  constexpr typename std::enable_if<type == ParameterType::PARAMETER_INTEGER, const int64_t &>::type
  get() const
  {
    check_type(ParameterType::PARAMETER_INTEGER);
    return value_.integer_value;
  }

  template<ParameterType type>
  constexpr typename std::enable_if<type == ParameterType::PARAMETER_DOUBLE, const double &>::type
  get() const
  {
    check_type(ParameterType::PARAMETER_DOUBLE);
    return value_.double_value;
  }

  template<ParameterType type>
  constexpr
    typename std::enable_if<type == ParameterType::PARAMETER_STRING, const std::string &>::type
    get() const
  {
    check_type(ParameterType::PARAMETER_STRING);
    return value_.string_value;
  }

  template<ParameterType type>
  constexpr typename std::enable_if<
    type == ParameterType::PARAMETER_BYTE_ARRAY, const std::vector<uint8_t> &>::type
  get() const
  {
    check_type(ParameterType::PARAMETER_BYTE_ARRAY);
    return value_.byte_array_value;
  }

  template<ParameterType type>
  constexpr typename std::enable_if<
    type == ParameterType::PARAMETER_BOOL_ARRAY, const std::vector<bool> &>::type
  get() const
  {
    check_type(ParameterType::PARAMETER_BOOL_ARRAY);
    return value_.bool_array_value;
  }

  template<ParameterType type>
  constexpr typename std::enable_if<
    type == ParameterType::PARAMETER_INTEGER_ARRAY, const std::vector<int64_t> &>::type
  get() const
  {
    check_type(ParameterType::PARAMETER_INTEGER_ARRAY);
    return value_.integer_array_value;
  }

  template<ParameterType type>
  constexpr typename std::enable_if<
    type == ParameterType::PARAMETER_DOUBLE_ARRAY, const std::vector<double> &>::type
  get() const
  {
    check_type(ParameterType::PARAMETER_DOUBLE_ARRAY);
    return value_.double_array_value;
  }

  template<ParameterType type>
  constexpr typename std::enable_if<
    type == ParameterType::PARAMETER_STRING_ARRAY, const std::vector<std::string> &>::type
  get() const
  {
    check_type(ParameterType::PARAMETER_STRING_ARRAY);
    return value_.string_array_value;
  }

  // get() by C++ type: integral types read as int64_t, floating types as double.

  template<typename type>
  constexpr typename std::enable_if<std::is_same<type, bool>::value, const bool &>::type get() const
  {
    return get<ParameterType::PARAMETER_BOOL>();
  }

  template<typename type>
  constexpr typename std::enable_if<
    std::is_integral<type>::value && !std::is_same<type, bool>::value, const int64_t &>::type
  get() const
  {
    return get<ParameterType::PARAMETER_INTEGER>();
  }

  template<typename type>
  constexpr typename std::enable_if<std::is_floating_point<type>::value, const double &>::type get()
    const
  {
    return get<ParameterType::PARAMETER_DOUBLE>();
  }

  template<typename type>
  constexpr typename std::enable_if<
    std::is_convertible<type, std::string>::value, const std::string &>::type
  get() const
  {
    return get<ParameterType::PARAMETER_STRING>();
  }

  template<typename type>
  constexpr typename std::enable_if<
    std::is_convertible<type, const std::vector<uint8_t> &>::value,
    const std::vector<uint8_t> &>::type
  get() const
  {
    return get<ParameterType::PARAMETER_BYTE_ARRAY>();
  }

  template<typename type>
  constexpr typename std::enable_if<
    std::is_convertible<type, const std::vector<bool> &>::value, const std::vector<bool> &>::type
  get() const
  {
    return get<ParameterType::PARAMETER_BOOL_ARRAY>();
  }

  template<typename type>
  constexpr typename std::enable_if<
    std::is_convertible<type, const std::vector<int> &>::value, const std::vector<int64_t> &>::type
  get() const
  {
    return get<ParameterType::PARAMETER_INTEGER_ARRAY>();
  }

  template<typename type>
  constexpr typename std::enable_if<
    std::is_convertible<type, const std::vector<int64_t> &>::value,
    const std::vector<int64_t> &>::type
  get() const
  {
    return get<ParameterType::PARAMETER_INTEGER_ARRAY>();
  }

  template<typename type>
  constexpr typename std::enable_if<
    std::is_convertible<type, const std::vector<float> &>::value, const std::vector<double> &>::type
  get() const
  {
    return get<ParameterType::PARAMETER_DOUBLE_ARRAY>();
  }

  template<typename type>
  constexpr typename std::enable_if<
    std::is_convertible<type, const std::vector<double> &>::value,
    const std::vector<double> &>::type
  get() const
  {
    return get<ParameterType::PARAMETER_DOUBLE_ARRAY>();
  }

  template<typename type>
  constexpr typename std::enable_if<
    std::is_convertible<type, const std::vector<std::string> &>::value,
    const std::vector<std::string> &>::type
  get() const
  {
    return get<ParameterType::PARAMETER_STRING_ARRAY>();
  }

private:
  void check_type(ParameterType expected) const
  {
    if (value_.type != expected) {
      throw ParameterTypeException(expected, get_type());
    }
  }

  rcl_interfaces::msg::ParameterValue value_;
};

/// @brief The value as text: "not set", "true", "42", "0.100000", "[1, 2]", ...
std::string to_string(const ParameterValue & type);

}  // namespace rclcpp

#endif  // RCLCPP__PARAMETER_VALUE_HPP_
