#include "rclcpp/any_executable.hpp"

namespace rclcpp
{

AnyExecutable::AnyExecutable()
: subscription(nullptr),
  timer(nullptr),
  service(nullptr),
  client(nullptr),
  callback_group(nullptr),
  node_base(nullptr)
{
}

AnyExecutable::~AnyExecutable()
{
  // Work taken but never executed (canceled executor, or a callback that threw) must not
  // leave its mutually exclusive group blocked.
  if (callback_group) {
    callback_group->can_be_taken_from() = true;
  }
}

}  // namespace rclcpp
