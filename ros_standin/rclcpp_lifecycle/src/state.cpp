#include "rclcpp_lifecycle/state.hpp"

#include <memory>
#include <stdexcept>
#include <string>

#include "default_state_machine.hpp"
#include "lifecycle_msgs/msg/state.hpp"

namespace rclcpp_lifecycle
{

State::State(rcutils_allocator_t allocator)
: State(lifecycle_msgs::msg::State::PRIMARY_STATE_UNKNOWN, "unknown", allocator)
{
}

State::State(uint8_t id, const std::string & label, rcutils_allocator_t allocator)
: allocator_(allocator),
  owns_rcl_state_handle_(true),
  state_handle_(nullptr)
{
  if (label.empty()) {
    throw std::runtime_error("Lifecycle State cannot have an empty label.");
  }
  owned_handle_ = std::make_shared<const detail::StateHandle>(detail::StateHandle{id, label});
  state_handle_ = owned_handle_.get();
}

State::State(const detail::StateHandle * state_handle, rcutils_allocator_t allocator)
: allocator_(allocator),
  owns_rcl_state_handle_(false),
  state_handle_(state_handle)
{
}

State::State(const State & rhs)
: allocator_(rhs.allocator_),
  owns_rcl_state_handle_(rhs.owns_rcl_state_handle_),
  state_handle_(rhs.state_handle_),
  owned_handle_(rhs.owned_handle_)
{
}

State::~State()
{
  reset();
}

State & State::operator=(const State & rhs)
{
  if (this == &rhs) {
    return *this;
  }
  // A referring state only copies the pointer, as upstream does, so the node's
  // current-state member can be refreshed while others hold a reference to it.
  if (owns_rcl_state_handle_ || rhs.owns_rcl_state_handle_) {
    owned_handle_ = rhs.owned_handle_;
  }
  allocator_ = rhs.allocator_;
  owns_rcl_state_handle_ = rhs.owns_rcl_state_handle_;
  state_handle_ = rhs.state_handle_;
  return *this;
}

uint8_t State::id() const
{
  if (!state_handle_) {
    throw std::runtime_error("Error in state! Internal state_handle is NULL.");
  }
  return state_handle_->id;
}

std::string State::label() const
{
  if (!state_handle_) {
    throw std::runtime_error("Error in state! Internal state_handle is NULL.");
  }
  return state_handle_->label;
}

void State::reset() noexcept
{
  state_handle_ = nullptr;
  owned_handle_.reset();
  owns_rcl_state_handle_ = false;
}

}  // namespace rclcpp_lifecycle
