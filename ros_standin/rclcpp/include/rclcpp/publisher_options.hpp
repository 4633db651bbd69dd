#ifndef RCLCPP__PUBLISHER_OPTIONS_HPP_
#define RCLCPP__PUBLISHER_OPTIONS_HPP_

#include <memory>

#include "rclcpp/callback_group.hpp"
#include "rclcpp/intra_process_setting.hpp"
#include "rclcpp/qos_overriding_options.hpp"

namespace rclcpp
{

/// @brief Publisher options that do not depend on the allocator.
struct PublisherOptionsBase
{
  IntraProcessSetting use_intra_process_comm = IntraProcessSetting::NodeDefault;

  bool use_default_callbacks = true;

  rclcpp::CallbackGroup::SharedPtr callback_group;

  QosOverridingOptions qos_overriding_options;
};

/// @brief Publisher options with the message allocator.
template<typename Allocator>
struct PublisherOptionsWithAllocator : public PublisherOptionsBase
{
  std::shared_ptr<Allocator> allocator = nullptr;

  PublisherOptionsWithAllocator<Allocator>() {}

  explicit PublisherOptionsWithAllocator(const PublisherOptionsBase & publisher_options_base)
  : PublisherOptionsBase(publisher_options_base)
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

using PublisherOptions = PublisherOptionsWithAllocator<std::allocator<void>>;

}  // namespace rclcpp

#endif  // RCLCPP__PUBLISHER_OPTIONS_HPP_
