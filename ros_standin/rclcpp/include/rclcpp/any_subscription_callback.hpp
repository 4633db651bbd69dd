#ifndef RCLCPP__ANY_SUBSCRIPTION_CALLBACK_HPP_
#define RCLCPP__ANY_SUBSCRIPTION_CALLBACK_HPP_

#include <functional>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace rclcpp
{

/// @brief Holds a subscription callback of any of the supported forms and calls it with a
/// message the subscription owns.
///
/// Accepted: `(const MessageT &)`, `(std::shared_ptr<const MessageT>)`,
/// `(const std::shared_ptr<const MessageT> &)`, `(std::shared_ptr<MessageT>)`,
/// `(const std::shared_ptr<MessageT> &)` and `(std::unique_ptr<MessageT>)`, including
/// std::bind results and std::function objects of these.
template<typename MessageT, typename AllocatorT = std::allocator<void>>
class AnySubscriptionCallback
{
public:
  using MessageUniquePtr = std::unique_ptr<MessageT>;

  AnySubscriptionCallback() = default;

  explicit AnySubscriptionCallback(const AllocatorT &) {}

  /// @brief Stores the callback.
  template<typename CallbackT>
  AnySubscriptionCallback set(CallbackT callback)
  {
    // Every pointer form accepts the owned message (a unique_ptr converts to either
    // shared_ptr); only the reference form needs the message dereferenced.
    if constexpr (std::is_invocable_v<CallbackT &, MessageUniquePtr>) {
      callback_ = [callback = std::move(callback)](MessageUniquePtr message) mutable {
        callback(std::move(message));
      };
    } else if constexpr (std::is_invocable_v<CallbackT &, const MessageT &>) {
      callback_ = [callback = std::move(callback)](MessageUniquePtr message) mutable {
        callback(*message);
      };
    } else {
      static_assert(
        std::is_invocable_v<CallbackT &, const MessageT &>,
        "subscription callback must take the message as const MessageT &, "
        "std::shared_ptr<[const] MessageT> or std::unique_ptr<MessageT>");
    }
    return *this;
  }

  /// @brief Calls the callback with the message.
  void dispatch(MessageUniquePtr message)
  {
    if (!callback_) {
      throw std::runtime_error("dispatch called on an unset AnySubscriptionCallback");
    }
    callback_(std::move(message));
  }

private:
  std::function<void(MessageUniquePtr)> callback_;
};

}  // namespace rclcpp

#endif  // RCLCPP__ANY_SUBSCRIPTION_CALLBACK_HPP_
