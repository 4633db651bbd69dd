#include "rclcpp/node_interfaces/node_base.hpp"

#include <cctype>
#include <memory>
#include <string>

#include "rclcpp/exceptions.hpp"

namespace rclcpp
{
namespace node_interfaces
{

namespace
{

bool is_name_char(char c)
{
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

void validate_node_name(const std::string & name)
{
  using rclcpp::exceptions::InvalidNodeNameError;
  if (name.empty()) {
    throw InvalidNodeNameError(name.c_str(), "node name must not be empty", 0);
  }
  for (size_t i = 0; i < name.size(); ++i) {
    if (!is_name_char(name[i])) {
      throw InvalidNodeNameError(
        name.c_str(), "node name must not contain characters other than alphanumerics or '_'", i);
    }
  }
  if (std::isdigit(static_cast<unsigned char>(name[0]))) {
    throw InvalidNodeNameError(name.c_str(), "node name must not start with a number", 0);
  }
}

// Checks a fully qualified name ("/a/b") the way rmw validates namespaces and full topic
// names; returns the index of the problem and sets `message`, or returns npos.
size_t find_full_name_error(
  const std::string & name, const std::string & what, std::string & message)
{
  if (name.empty()) {
    message = what + " must not be empty";
    return 0;
  }
  if (name[0] != '/') {
    message = what + " must be absolute, it must lead with a '/'";
    return 0;
  }
  if (name.size() > 1 && name.back() == '/') {
    message = what + " must not end with a '/'";
    return name.size() - 1;
  }
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] != '/' && !is_name_char(name[i])) {
      message = what + " must not contain characters other than alphanumerics, '_', or '/'";
      return i;
    }
    if (name[i] == '/' && i + 1 < name.size()) {
      if (name[i + 1] == '/') {
        message = what + " must not contain repeated '/'";
        return i + 1;
      }
      if (std::isdigit(static_cast<unsigned char>(name[i + 1]))) {
        message = what + " must not have a token that starts with a number";
        return i + 1;
      }
    }
  }
  return std::string::npos;
}

}  // namespace

NodeBase::NodeBase(
  const std::string & node_name, const std::string & node_namespace,
  rclcpp::Context::SharedPtr context, bool use_intra_process_default,
  bool enable_topic_statistics_default)
: context_(context),
  name_(node_name),
  use_intra_process_default_(use_intra_process_default),
  enable_topic_statistics_default_(enable_topic_statistics_default),
  associated_with_executor_(false),
  notify_guard_condition_(context)
{
  validate_node_name(name_);
  // rcl: an empty namespace is "/", a relative one gets a leading '/'.
  namespace_ = node_namespace.empty() ? "/" : node_namespace;
  if (namespace_[0] != '/') {
    namespace_ = "/" + namespace_;
  }
  std::string message;
  size_t index = find_full_name_error(namespace_, "namespace", message);
  if (index != std::string::npos) {
    throw rclcpp::exceptions::InvalidNamespaceError(namespace_.c_str(), message.c_str(), index);
  }
  fully_qualified_name_ = namespace_.back() == '/' ? namespace_ + name_ : namespace_ + "/" + name_;

  default_callback_group_ =
    std::make_shared<rclcpp::CallbackGroup>(rclcpp::CallbackGroupType::MutuallyExclusive);
  callback_groups_.push_back(default_callback_group_);
}

NodeBase::~NodeBase() {}

const char * NodeBase::get_name() const
{
  return name_.c_str();
}

const char * NodeBase::get_namespace() const
{
  return namespace_.c_str();
}

const char * NodeBase::get_fully_qualified_name() const
{
  return fully_qualified_name_.c_str();
}

rclcpp::Context::SharedPtr NodeBase::get_context()
{
  return context_;
}

rclcpp::CallbackGroup::SharedPtr NodeBase::create_callback_group(
  rclcpp::CallbackGroupType group_type, bool automatically_add_to_executor_with_node)
{
  auto group =
    std::make_shared<rclcpp::CallbackGroup>(group_type, automatically_add_to_executor_with_node);
  std::lock_guard<std::mutex> lock(callback_groups_mutex_);
  callback_groups_.push_back(group);
  return group;
}

rclcpp::CallbackGroup::SharedPtr NodeBase::get_default_callback_group()
{
  return default_callback_group_;
}

bool NodeBase::callback_group_in_node(rclcpp::CallbackGroup::SharedPtr group)
{
  std::lock_guard<std::mutex> lock(callback_groups_mutex_);
  for (auto & weak_group : callback_groups_) {
    auto cur_group = weak_group.lock();
    if (cur_group && (cur_group == group)) {
      return true;
    }
  }
  return false;
}

void NodeBase::for_each_callback_group(const CallbackGroupFunction & func)
{
  std::lock_guard<std::mutex> lock(callback_groups_mutex_);
  for (rclcpp::CallbackGroup::WeakPtr & weak_group : callback_groups_) {
    rclcpp::CallbackGroup::SharedPtr group = weak_group.lock();
    if (group) {
      func(group);
    }
  }
}

std::atomic_bool & NodeBase::get_associated_with_executor_atomic()
{
  return associated_with_executor_;
}

rclcpp::GuardCondition & NodeBase::get_notify_guard_condition()
{
  return notify_guard_condition_;
}

bool NodeBase::get_use_intra_process_default() const
{
  return use_intra_process_default_;
}

bool NodeBase::get_enable_topic_statistics_default() const
{
  return enable_topic_statistics_default_;
}

std::string NodeBase::resolve_topic_or_service_name(
  const std::string & name, bool is_service, bool only_expand) const
{
  auto fail = [&name, is_service](const std::string & message, size_t index) {
    if (is_service) {
      throw rclcpp::exceptions::InvalidServiceNameError(name.c_str(), message.c_str(), index);
    }
    throw rclcpp::exceptions::InvalidTopicNameError(name.c_str(), message.c_str(), index);
  };
  if (name.empty()) {
    fail("topic name must not be empty", 0);
  }
  if (name[0] == '~' && name.size() > 1 && name[1] != '/') {
    fail("'~' must be followed by '/' if it is used", 1);
  }

  std::string expanded = name;
  if (expanded[0] == '~') {
    // Private name: expanded in the node's own name space.
    expanded = fully_qualified_name_ + expanded.substr(1);
  } else if (expanded[0] != '/') {
    expanded = (namespace_ == "/" ? "/" : namespace_ + "/") + expanded;
  }
  for (const auto & substitution :
       {std::make_pair(std::string("{node}"), name_),
        std::make_pair(std::string("{ns}"), namespace_),
        std::make_pair(std::string("{namespace}"), namespace_)}) {
    size_t pos;
    while ((pos = expanded.find(substitution.first)) != std::string::npos) {
      const std::string value =
        substitution.second == "/" && substitution.first != "{node}" ? "" : substitution.second;
      expanded.replace(pos, substitution.first.size(), value);
    }
  }
  if (only_expand) {
    return expanded;
  }
  std::string message;
  size_t index = find_full_name_error(expanded, "topic name", message);
  if (index != std::string::npos) {
    fail(message, index);
  }
  return expanded;
}

}  // namespace node_interfaces
}  // namespace rclcpp
