#ifndef RCLCPP_LIFECYCLE__STATE_HPP_
#define RCLCPP_LIFECYCLE__STATE_HPP_

#include <cstdint>
#include <memory>
#include <string>

#include "rcutils/allocator.h"

namespace rclcpp_lifecycle
{
namespace detail
{
struct StateHandle;
}  // namespace detail

/// @brief A lifecycle state: an id from lifecycle_msgs::msg::State and its label.
///
/// As upstream, a State either owns its data (built from an id and a label) or
/// refers to one of the state machine's own states; copying a referring State
/// only copies the reference, which is what lets the node hand out a reference
/// to its current state that later transitions update.
class State
{
public:
  /// @brief The "unknown" state (PRIMARY_STATE_UNKNOWN).
  explicit State(rcutils_allocator_t allocator = rcutils_get_default_allocator());

  /// @brief A state owning its id and label; throws std::runtime_error on an empty label.
  State(
    uint8_t id, const std::string & label,
    rcutils_allocator_t allocator = rcutils_get_default_allocator());

  /// @brief A state referring to one of the state machine's states (internal).
  explicit State(
    const detail::StateHandle * state_handle,
    rcutils_allocator_t allocator = rcutils_get_default_allocator());

  State(const State & rhs);

  virtual ~State();

  State & operator=(const State & rhs);

  /// @brief The state id; throws std::runtime_error if the state has no data.
  uint8_t id() const;

  /// @brief The state label; throws std::runtime_error if the state has no data.
  std::string label() const;

protected:
  void reset() noexcept;

  // Kept for the upstream layout; owned data lives on the C++ heap.
  rcutils_allocator_t allocator_;

  bool owns_rcl_state_handle_;

  const detail::StateHandle * state_handle_;

private:
  // Keeps an owned handle alive; the data is immutable, so copies share it.
  std::shared_ptr<const detail::StateHandle> owned_handle_;
};

}  // namespace rclcpp_lifecycle

#endif  // RCLCPP_LIFECYCLE__STATE_HPP_
