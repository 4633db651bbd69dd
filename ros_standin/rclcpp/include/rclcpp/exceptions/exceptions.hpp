#ifndef RCLCPP__EXCEPTIONS__EXCEPTIONS_HPP_
#define RCLCPP__EXCEPTIONS__EXCEPTIONS_HPP_

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace rclcpp
{
namespace exceptions
{

// ---------------------------------------------------------------------------
// Command line (--ros-args) errors.
// ---------------------------------------------------------------------------

/// @brief Thrown when a --ros-args section holds arguments that rcl does not know.
class UnknownROSArgsError : public std::runtime_error
{
public:
  explicit UnknownROSArgsError(std::vector<std::string> && unknown_ros_args_in)
  : std::runtime_error("found unknown ROS arguments: '" + join(unknown_ros_args_in) + "'"),
    unknown_ros_args(unknown_ros_args_in)
  {
  }

  const std::vector<std::string> unknown_ros_args;

private:
  static std::string join(const std::vector<std::string> & args)
  {
    std::string joined;
    for (std::size_t i = 0; i < args.size(); ++i) {
      joined += (i == 0 ? "" : "', '") + args[i];
    }
    return joined;
  }
};

// ---------------------------------------------------------------------------
// Parameter errors.
// ---------------------------------------------------------------------------

/// @brief Thrown if passed parameters are inconsistent or invalid.
class InvalidParametersException : public std::runtime_error
{
public:
  using std::runtime_error::runtime_error;
};

/// @brief Thrown if a passed parameter value is invalid.
class InvalidParameterValueException : public std::runtime_error
{
public:
  using std::runtime_error::runtime_error;
};

/// @brief Thrown if the requested parameter type is invalid; names the parameter.
class InvalidParameterTypeException : public std::runtime_error
{
public:
  InvalidParameterTypeException(const std::string & name, const std::string message)
  : std::runtime_error("parameter '" + name + "' has invalid type: " + message)
  {
  }
};

/// @brief Thrown when a statically typed parameter is declared without a value.
class UninitializedStaticallyTypedParameterException : public std::runtime_error
{
public:
  explicit UninitializedStaticallyTypedParameterException(const std::string & name)
  : std::runtime_error("Statically typed parameter '" + name + "' must be initialized.")
  {
  }
};

/// @brief Thrown if a parameter is declared twice.
class ParameterAlreadyDeclaredException : public std::runtime_error
{
public:
  using std::runtime_error::runtime_error;
};

/// @brief Thrown if a parameter is read, set or undeclared without being declared.
class ParameterNotDeclaredException : public std::runtime_error
{
public:
  using std::runtime_error::runtime_error;
};

/// @brief Thrown if a read-only parameter is undeclared.
class ParameterImmutableException : public std::runtime_error
{
public:
  using std::runtime_error::runtime_error;
};

/// @brief Thrown if a parameter is declared, set or undeclared from inside an on-set callback.
class ParameterModifiedInCallbackException : public std::runtime_error
{
public:
  using std::runtime_error::runtime_error;
};

/// @brief Thrown if a declared, statically typed parameter without a value is read.
class ParameterUninitializedException : public std::runtime_error
{
public:
  explicit ParameterUninitializedException(const std::string & name)
  : std::runtime_error("parameter '" + name + "' is not initialized")
  {
  }
};

// ---------------------------------------------------------------------------
// rcl and name errors (raised by the context, executors and nodes).
// ---------------------------------------------------------------------------

/// @brief What upstream keeps of an rcl error: the return code and the message.
class RCLErrorBase
{
public:
  RCLErrorBase(int ret, const std::string & message)
  : ret(ret),
    message(message),
    formatted_message(message)
  {
  }
  virtual ~RCLErrorBase() {}

  int ret;
  std::string message;
  std::string formatted_message;
};

/// @brief A generic rcl failure.
class RCLError : public RCLErrorBase, public std::runtime_error
{
public:
  RCLError(int ret, const std::string & prefix, const std::string & message)
  : RCLErrorBase(ret, message),
    std::runtime_error(prefix + message)
  {
  }
};

/// @brief rcl rejected an argument (RCL_RET_INVALID_ARGUMENT).
class RCLInvalidArgument : public RCLErrorBase, public std::invalid_argument
{
public:
  RCLInvalidArgument(int ret, const std::string & prefix, const std::string & message)
  : RCLErrorBase(ret, message),
    std::invalid_argument(prefix + message)
  {
  }
};

/// @brief rcl refused a --ros-args section (RCL_RET_INVALID_ROS_ARGS): a bad rule or an
/// unreadable params file. what() is "<prefix>: Couldn't parse ...".
class RCLInvalidROSArgsError : public RCLErrorBase, public std::runtime_error
{
public:
  RCLInvalidROSArgsError(int ret, const std::string & prefix, const std::string & message)
  : RCLErrorBase(ret, message),
    std::runtime_error(prefix + message)
  {
  }
};

/// @brief A node name, namespace, topic or service name failed validation.
class NameValidationError : public std::invalid_argument
{
public:
  NameValidationError(
    const char * name_type_, const char * name_, const char * error_msg_, size_t invalid_index_)
  : std::invalid_argument(format_error(name_type_, name_, error_msg_, invalid_index_)),
    name_type(name_type_),
    name(name_),
    error_msg(error_msg_),
    invalid_index(invalid_index_)
  {
  }

  static std::string format_error(
    const char * name_type, const char * name, const char * error_msg, size_t invalid_index)
  {
    return std::string("Invalid ") + name_type + ": " + error_msg + ":\n  " + name + "\n  " +
           std::string(invalid_index, ' ') + "^\n";
  }

  const std::string name_type;
  const std::string name;
  const std::string error_msg;
  const size_t invalid_index;
};

/// @brief Thrown when a node name is invalid.
class InvalidNodeNameError : public NameValidationError
{
public:
  InvalidNodeNameError(const char * node_name, const char * error_msg, size_t invalid_index)
  : NameValidationError("node name", node_name, error_msg, invalid_index)
  {
  }
};

/// @brief Thrown when a node namespace is invalid.
class InvalidNamespaceError : public NameValidationError
{
public:
  InvalidNamespaceError(const char * namespace_, const char * error_msg, size_t invalid_index)
  : NameValidationError("namespace", namespace_, error_msg, invalid_index)
  {
  }
};

/// @brief Thrown when a topic name is invalid.
class InvalidTopicNameError : public NameValidationError
{
public:
  InvalidTopicNameError(const char * topic_name, const char * error_msg, size_t invalid_index)
  : NameValidationError("topic name", topic_name, error_msg, invalid_index)
  {
  }
};

/// @brief Thrown when a service name is invalid.
class InvalidServiceNameError : public NameValidationError
{
public:
  InvalidServiceNameError(const char * service_name, const char * error_msg, size_t invalid_index)
  : NameValidationError("service name", service_name, error_msg, invalid_index)
  {
  }
};

}  // namespace exceptions
}  // namespace rclcpp

#endif  // RCLCPP__EXCEPTIONS__EXCEPTIONS_HPP_
