#ifndef RCLCPP__SUBSCRIPTION_OPTIONS_HPP_
#define RCLCPP__SUBSCRIPTION_OPTIONS_HPP_

#include <chrono>
#include <memory>
#include <string>

#include "rclcpp/callback_group.hpp"
#include "rclcpp/intra_process_setting.hpp"
#include "rclcpp/qos_overriding_options.hpp"
#include "rclcpp/topic_statistics_state.hpp"

namespace rclcpp
{

/// @brief Subscription options that do not depend on the allocator.
struct SubscriptionOptionsBase
{
  bool use_default_callbacks = true;

  /// True to not receive messages from publishers of the same node (stored only).
  bool ignore_local_publications = false;

  /// The group whose executor runs the callback; nullptr: the node's default group.
  rclcpp::CallbackGroup::SharedPtr callback_group = nullptr;

  IntraProcessSetting use_intra_process_comm = IntraProcessSetting::NodeDefault;

  /// Topic statistics settings (stored only).
  struct TopicStatisticsOptions
  {
    TopicStatisticsState state = TopicStatisticsState::NodeDefault;
    std::string publish_topic = "/statistics";
    std::chrono::milliseconds publish_period = std::chrono::seconds(1);
  };

  TopicStatisticsOptions topic_stats_options;

  QosOverridingOptions qos_overriding_options;
};

/// @brief Subscription options with the message allocator.
template<typename Allocator>
struct SubscriptionOptionsWithAllocator : public SubscriptionOptionsBase
{
  std::shared_ptr<Allocator> allocator = nullptr;

  SubscriptionOptionsWithAllocator<Allocator>() {}

  explicit SubscriptionOptionsWithAllocator(
    const SubscriptionOptionsBase & subscription_options_base)
  : SubscriptionOptionsBase(subscription_options_base)
  {
  }

  /// @brief The allocator, or a default one.
  std::shared_ptr<Allocator> get_allocator() const
  {
    if (!this->allocator) {
      return std::make_shared<Allocator>();
    }
    return this->allocator;
  }
};

using SubscriptionOptions = SubscriptionOptionsWithAllocator<std::allocator<void>>;

}  // namespace rclcpp

#endif  // RCLCPP__SUBSCRIPTION_OPTIONS_HPP_
