#ifndef RCLCPP_LIFECYCLE__LIFECYCLE_NODE_HPP_
#define RCLCPP_LIFECYCLE__LIFECYCLE_NODE_HPP_

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "rcl_interfaces/msg/list_parameters_result.hpp"
#include "rcl_interfaces/msg/parameter_descriptor.hpp"
#include "rcl_interfaces/msg/set_parameters_result.hpp"
#include "rclcpp/callback_group.hpp"
#include "rclcpp/client.hpp"
#include "rclcpp/clock.hpp"
#include "rclcpp/context.hpp"
#include "rclcpp/logger.hpp"
#include "rclcpp/macros.hpp"
#include "rclcpp/message_memory_strategy.hpp"
#include "rclcpp/node_interfaces/node_base_interface.hpp"
#include "rclcpp/node_interfaces/node_clock_interface.hpp"
#include "rclcpp/node_interfaces/node_graph_interface.hpp"
#include "rclcpp/node_interfaces/node_logging_interface.hpp"
#include "rclcpp/node_interfaces/node_parameters_interface.hpp"
#include "rclcpp/node_interfaces/node_services_interface.hpp"
#include "rclcpp/node_interfaces/node_timers_interface.hpp"
#include "rclcpp/node_interfaces/node_topics_interface.hpp"
#include "rclcpp/node_options.hpp"
#include "rclcpp/parameter.hpp"
#include "rclcpp/publisher.hpp"
#include "rclcpp/publisher_options.hpp"
#include "rclcpp/qos.hpp"
#include "rclcpp/service.hpp"
#include "rclcpp/subscription.hpp"
#include "rclcpp/subscription_options.hpp"
#include "rclcpp/time.hpp"
#include "rclcpp/timer.hpp"
#include "rmw/qos_profiles.h"
#include "rclcpp_lifecycle/lifecycle_publisher.hpp"
#include "rclcpp_lifecycle/managed_entity.hpp"
#include "rclcpp_lifecycle/node_interfaces/lifecycle_node_interface.hpp"
#include "rclcpp_lifecycle/state.hpp"
#include "rclcpp_lifecycle/transition.hpp"

namespace rclcpp_lifecycle
{

template<typename AllocatorT = std::allocator<void>>
using PublisherOptionsWithAllocator = rclcpp::PublisherOptionsWithAllocator<AllocatorT>;

template<typename AllocatorT = std::allocator<void>>
using SubscriptionOptionsWithAllocator = rclcpp::SubscriptionOptionsWithAllocator<AllocatorT>;

template<typename AllocatorT = std::allocator<void>>
PublisherOptionsWithAllocator<AllocatorT> create_default_publisher_options()
{
  return rclcpp::PublisherOptionsWithAllocator<AllocatorT>();
}

template<typename AllocatorT = std::allocator<void>>
SubscriptionOptionsWithAllocator<AllocatorT> create_default_subscription_options()
{
  return rclcpp::SubscriptionOptionsWithAllocator<AllocatorT>();
}

/// @brief A node with a managed lifecycle: unconfigured, inactive, active, finalized.
///
/// Built from the same node interfaces as rclcpp::Node. Transitions run the
/// on_* callbacks (or those registered with register_on_*); the base
/// on_activate/on_deactivate (de)activate every publisher made with
/// create_publisher, so a subclass overriding them must call the base or
/// activate its publishers itself.
class LifecycleNode : public node_interfaces::LifecycleNodeInterface,
                      public std::enable_shared_from_this<LifecycleNode>
{
public:
  RCLCPP_SMART_PTR_DEFINITIONS(LifecycleNode)

  /// @brief A node in the root namespace.
  explicit LifecycleNode(
    const std::string & node_name, const rclcpp::NodeOptions & options = rclcpp::NodeOptions(),
    bool enable_communication_interface = true);

  /// @brief A node in @p namespace_.
  ///
  /// The stand-in has no lifecycle services or transition event topic, so
  /// @p enable_communication_interface changes nothing.
  LifecycleNode(
    const std::string & node_name, const std::string & namespace_,
    const rclcpp::NodeOptions & options = rclcpp::NodeOptions(),
    bool enable_communication_interface = true);

  /// @brief Runs no transition: a node destroyed while active is not shut down.
  virtual ~LifecycleNode();

  const char * get_name() const;

  const char * get_namespace() const;

  const char * get_fully_qualified_name() const;

  rclcpp::Logger get_logger() const;

  rclcpp::CallbackGroup::SharedPtr create_callback_group(
    rclcpp::CallbackGroupType group_type, bool automatically_add_to_executor_with_node = true);

  void for_each_callback_group(
    const rclcpp::node_interfaces::NodeBaseInterface::CallbackGroupFunction & func);

  /// @brief A lifecycle publisher, inactive until the base on_activate runs.
  template<typename MessageT, typename AllocatorT = std::allocator<void>>
  std::shared_ptr<rclcpp_lifecycle::LifecyclePublisher<MessageT, AllocatorT>> create_publisher(
    const std::string & topic_name, const rclcpp::QoS & qos,
    const PublisherOptionsWithAllocator<AllocatorT> & options =
      create_default_publisher_options<AllocatorT>());

  /// @brief A plain subscription: subscriptions are not managed.
  template<
    typename MessageT, typename CallbackT, typename AllocatorT = std::allocator<void>,
    typename SubscriptionT = rclcpp::Subscription<MessageT, AllocatorT>,
    typename MessageMemoryStrategyT = typename SubscriptionT::MessageMemoryStrategyType>
  std::shared_ptr<SubscriptionT> create_subscription(
    const std::string & topic_name, const rclcpp::QoS & qos, CallbackT && callback,
    const SubscriptionOptionsWithAllocator<AllocatorT> & options =
      create_default_subscription_options<AllocatorT>(),
    typename MessageMemoryStrategyT::SharedPtr msg_mem_strat =
      (MessageMemoryStrategyT::create_default()));

  /// @brief A wall timer; Humble's lifecycle node has no create_timer.
  template<typename DurationRepT = int64_t, typename DurationT = std::milli, typename CallbackT>
  typename rclcpp::WallTimer<CallbackT>::SharedPtr create_wall_timer(
    std::chrono::duration<DurationRepT, DurationT> period, CallbackT callback,
    rclcpp::CallbackGroup::SharedPtr group = nullptr);

  template<typename ServiceT>
  typename rclcpp::Client<ServiceT>::SharedPtr create_client(
    const std::string & service_name,
    const rmw_qos_profile_t & qos_profile = rmw_qos_profile_services_default,
    rclcpp::CallbackGroup::SharedPtr group = nullptr);

  template<typename ServiceT, typename CallbackT>
  typename rclcpp::Service<ServiceT>::SharedPtr create_service(
    const std::string & service_name, CallbackT && callback,
    const rmw_qos_profile_t & qos_profile = rmw_qos_profile_services_default,
    rclcpp::CallbackGroup::SharedPtr group = nullptr);

  const rclcpp::ParameterValue & declare_parameter(
    const std::string & name, const rclcpp::ParameterValue & default_value,
    const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor =
      rcl_interfaces::msg::ParameterDescriptor(),
    bool ignore_override = false);

  const rclcpp::ParameterValue & declare_parameter(
    const std::string & name, rclcpp::ParameterType type,
    const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor =
      rcl_interfaces::msg::ParameterDescriptor{},
    bool ignore_override = false);

  template<typename ParameterT>
  auto declare_parameter(
    const std::string & name, const ParameterT & default_value,
    const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor =
      rcl_interfaces::msg::ParameterDescriptor(),
    bool ignore_override = false);

  template<typename ParameterT>
  auto declare_parameter(
    const std::string & name,
    const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor =
      rcl_interfaces::msg::ParameterDescriptor(),
    bool ignore_override = false);

  template<typename ParameterT>
  std::vector<ParameterT> declare_parameters(
    const std::string & namespace_, const std::map<std::string, ParameterT> & parameters);

  template<typename ParameterT>
  std::vector<ParameterT> declare_parameters(
    const std::string & namespace_,
    const std::map<std::string, std::pair<ParameterT, rcl_interfaces::msg::ParameterDescriptor>> &
      parameters);

  void undeclare_parameter(const std::string & name);

  bool has_parameter(const std::string & name) const;

  rcl_interfaces::msg::SetParametersResult set_parameter(const rclcpp::Parameter & parameter);

  std::vector<rcl_interfaces::msg::SetParametersResult> set_parameters(
    const std::vector<rclcpp::Parameter> & parameters);

  rcl_interfaces::msg::SetParametersResult set_parameters_atomically(
    const std::vector<rclcpp::Parameter> & parameters);

  /// @throws rclcpp::exceptions::ParameterNotDeclaredException if not declared.
  rclcpp::Parameter get_parameter(const std::string & name) const;

  bool get_parameter(const std::string & name, rclcpp::Parameter & parameter) const;

  template<typename ParameterT>
  bool get_parameter(const std::string & name, ParameterT & parameter) const;

  template<typename ParameterT>
  bool get_parameter_or(
    const std::string & name, ParameterT & value, const ParameterT & alternative_value) const;

  std::vector<rclcpp::Parameter> get_parameters(const std::vector<std::string> & names) const;

  /// @brief Every parameter "<prefix>.<rest>" as values[<rest>].
  template<typename MapValueT>
  bool get_parameters(const std::string & prefix, std::map<std::string, MapValueT> & values) const;

  rcl_interfaces::msg::ParameterDescriptor describe_parameter(const std::string & name) const;

  std::vector<rcl_interfaces::msg::ParameterDescriptor> describe_parameters(
    const std::vector<std::string> & names) const;

  std::vector<uint8_t> get_parameter_types(const std::vector<std::string> & names) const;

  rcl_interfaces::msg::ListParametersResult list_parameters(
    const std::vector<std::string> & prefixes, uint64_t depth) const;

  using OnSetParametersCallbackHandle = rclcpp::node_interfaces::OnSetParametersCallbackHandle;
  using OnParametersSetCallbackType =
    rclcpp::node_interfaces::NodeParametersInterface::OnParametersSetCallbackType;

  [[nodiscard]] OnSetParametersCallbackHandle::SharedPtr add_on_set_parameters_callback(
    OnParametersSetCallbackType callback);

  void remove_on_set_parameters_callback(const OnSetParametersCallbackHandle * const handler);

  size_t count_publishers(const std::string & topic_name) const;

  size_t count_subscribers(const std::string & topic_name) const;

  rclcpp::Clock::SharedPtr get_clock();

  rclcpp::Clock::ConstSharedPtr get_clock() const;

  rclcpp::Time now() const;

  rclcpp::node_interfaces::NodeBaseInterface::SharedPtr get_node_base_interface();

  rclcpp::node_interfaces::NodeClockInterface::SharedPtr get_node_clock_interface();

  rclcpp::node_interfaces::NodeGraphInterface::SharedPtr get_node_graph_interface();

  rclcpp::node_interfaces::NodeLoggingInterface::SharedPtr get_node_logging_interface();

  rclcpp::node_interfaces::NodeTimersInterface::SharedPtr get_node_timers_interface();

  rclcpp::node_interfaces::NodeTopicsInterface::SharedPtr get_node_topics_interface();

  rclcpp::node_interfaces::NodeServicesInterface::SharedPtr get_node_services_interface();

  rclcpp::node_interfaces::NodeParametersInterface::SharedPtr get_node_parameters_interface();

  const rclcpp::NodeOptions & get_node_options() const;

  /// @brief The current state. The reference is to a member that every call
  /// (and every transition method) refreshes, so a held reference follows later
  /// transitions.
  const State & get_current_state();

  /// @brief Every state of the state machine, transition states included.
  std::vector<State> get_available_states();

  /// @brief The transitions that leave the current state.
  std::vector<Transition> get_available_transitions();

  /// @brief Every transition of the state machine.
  std::vector<Transition> get_transition_graph();

  const State & trigger_transition(const Transition & transition);

  const State & trigger_transition(
    const Transition & transition, LifecycleNodeInterface::CallbackReturn & cb_return_code);

  const State & trigger_transition(uint8_t transition_id);

  const State & trigger_transition(
    uint8_t transition_id, LifecycleNodeInterface::CallbackReturn & cb_return_code);

  /// @brief Runs the configure transition; returns the state it ended in.
  const State & configure();

  /// @brief Same; @p cb_return_code gets on_configure's result (untouched if refused).
  const State & configure(LifecycleNodeInterface::CallbackReturn & cb_return_code);

  const State & cleanup();

  const State & cleanup(LifecycleNodeInterface::CallbackReturn & cb_return_code);

  const State & activate();

  const State & activate(LifecycleNodeInterface::CallbackReturn & cb_return_code);

  const State & deactivate();

  const State & deactivate(LifecycleNodeInterface::CallbackReturn & cb_return_code);

  /// @brief Shuts down from unconfigured, inactive or active (without deactivating first).
  const State & shutdown();

  const State & shutdown(LifecycleNodeInterface::CallbackReturn & cb_return_code);

  bool register_on_configure(
    std::function<LifecycleNodeInterface::CallbackReturn(const State &)> fcn);

  bool register_on_cleanup(
    std::function<LifecycleNodeInterface::CallbackReturn(const State &)> fcn);

  bool register_on_shutdown(
    std::function<LifecycleNodeInterface::CallbackReturn(const State &)> fcn);

  bool register_on_activate(
    std::function<LifecycleNodeInterface::CallbackReturn(const State &)> fcn);

  bool register_on_deactivate(
    std::function<LifecycleNodeInterface::CallbackReturn(const State &)> fcn);

  bool register_on_error(std::function<LifecycleNodeInterface::CallbackReturn(const State &)> fcn);

  /// @brief Activates every managed entity (the publishers); SUCCESS.
  CallbackReturn on_activate(const State & previous_state) override;

  /// @brief Deactivates every managed entity; SUCCESS.
  CallbackReturn on_deactivate(const State & previous_state) override;

protected:
  void add_managed_entity(std::weak_ptr<rclcpp_lifecycle::ManagedEntityInterface> managed_entity);

  void add_timer_handle(std::shared_ptr<rclcpp::TimerBase> timer);

private:
  RCLCPP_DISABLE_COPY(LifecycleNode)

  rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_base_;
  rclcpp::node_interfaces::NodeGraphInterface::SharedPtr node_graph_;
  rclcpp::node_interfaces::NodeLoggingInterface::SharedPtr node_logging_;
  rclcpp::node_interfaces::NodeTimersInterface::SharedPtr node_timers_;
  rclcpp::node_interfaces::NodeTopicsInterface::SharedPtr node_topics_;
  rclcpp::node_interfaces::NodeServicesInterface::SharedPtr node_services_;
  rclcpp::node_interfaces::NodeClockInterface::SharedPtr node_clock_;
  rclcpp::node_interfaces::NodeParametersInterface::SharedPtr node_parameters_;

  const rclcpp::NodeOptions node_options_;

  class LifecycleNodeInterfaceImpl;
  std::unique_ptr<LifecycleNodeInterfaceImpl> impl_;
};

}  // namespace rclcpp_lifecycle

#include "rclcpp_lifecycle/lifecycle_node_impl.hpp"

#endif  // RCLCPP_LIFECYCLE__LIFECYCLE_NODE_HPP_
