#ifndef DEFAULT_STATE_MACHINE_HPP_
#define DEFAULT_STATE_MACHINE_HPP_

#include <cstdint>
#include <string>
#include <vector>

namespace rclcpp_lifecycle
{
namespace detail
{

/// @brief What a State refers to: rcl_lifecycle's state record.
struct StateHandle
{
  uint8_t id;
  std::string label;
};

/// @brief rcl_lifecycle's transition record.
struct TransitionHandle
{
  uint8_t id;
  std::string label;
  const StateHandle * start;
  const StateHandle * goal;
};

/// @brief rcl_lifecycle's default state machine as fixed tables: the primary and
/// transition states, and the transitions that leave each of them.
///
/// The tables never change, so States referring to them stay valid for the life of
/// the process and can be copied without locking.
class DefaultStateMachine
{
public:
  static const DefaultStateMachine & instance();

  /// @brief Where every node starts: unconfigured.
  const StateHandle * initial_state() const;

  /// @brief Every state, primary states first.
  const std::vector<const StateHandle *> & states() const;

  /// @brief Every transition of the machine.
  const std::vector<TransitionHandle> & transitions() const;

  /// @brief The transition with @p id leaving @p from, or nullptr.
  const TransitionHandle * transition_by_id(const StateHandle * from, uint8_t id) const;

  /// @brief The transition labelled @p label leaving @p from, or nullptr.
  const TransitionHandle * transition_by_label(
    const StateHandle * from, const std::string & label) const;

private:
  DefaultStateMachine();

  std::vector<const StateHandle *> states_;
  std::vector<TransitionHandle> transitions_;
};

}  // namespace detail
}  // namespace rclcpp_lifecycle

#endif  // DEFAULT_STATE_MACHINE_HPP_
