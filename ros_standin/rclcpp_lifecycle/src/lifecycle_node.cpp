#include "rclcpp_lifecycle/lifecycle_node.hpp"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "lifecycle_msgs/msg/state.hpp"
#include "lifecycle_msgs/msg/transition.hpp"
#include "lifecycle_node_interface_impl.hpp"
#include "rclcpp/exceptions/exceptions.hpp"
#include "rclcpp/node_interfaces/node_base.hpp"
#include "rclcpp/node_interfaces/node_clock.hpp"
#include "rclcpp/node_interfaces/node_graph.hpp"
#include "rclcpp/node_interfaces/node_logging.hpp"
#include "rclcpp/node_interfaces/node_parameters.hpp"
#include "rclcpp/node_interfaces/node_services.hpp"
#include "rclcpp/node_interfaces/node_timers.hpp"
#include "rclcpp/node_interfaces/node_topics.hpp"

namespace rclcpp_lifecycle
{

LifecycleNode::LifecycleNode(
  const std::string & node_name, const rclcpp::NodeOptions & options,
  bool enable_communication_interface)
: LifecycleNode(node_name, "", options, enable_communication_interface)
{
}

LifecycleNode::LifecycleNode(
  const std::string & node_name, const std::string & namespace_,
  const rclcpp::NodeOptions & options, bool /*enable_communication_interface*/)
: node_base_(std::make_shared<rclcpp::node_interfaces::NodeBase>(
    node_name, namespace_, options.context(), options.use_intra_process_comms(),
    options.enable_topic_statistics())),
  node_graph_(std::make_shared<rclcpp::node_interfaces::NodeGraph>(node_base_.get())),
  node_logging_(std::make_shared<rclcpp::node_interfaces::NodeLogging>(node_base_.get())),
  node_timers_(std::make_shared<rclcpp::node_interfaces::NodeTimers>(node_base_.get())),
  node_topics_(
    std::make_shared<rclcpp::node_interfaces::NodeTopics>(node_base_.get(), node_timers_.get())),
  node_services_(std::make_shared<rclcpp::node_interfaces::NodeServices>(node_base_.get())),
  node_clock_(std::make_shared<rclcpp::node_interfaces::NodeClock>(
    node_base_, node_topics_, node_graph_, node_services_, node_logging_)),
  node_parameters_(std::make_shared<rclcpp::node_interfaces::NodeParameters>(node_base_, options)),
  node_options_(options),
  impl_(std::make_unique<LifecycleNodeInterfaceImpl>(node_base_, node_logging_))
{
  // The virtual callbacks are bound here, keyed by transition state, so a
  // later register_on_* replaces them.
  using std::placeholders::_1;
  register_on_configure(std::bind(&LifecycleNodeInterface::on_configure, this, _1));
  register_on_cleanup(std::bind(&LifecycleNodeInterface::on_cleanup, this, _1));
  register_on_shutdown(std::bind(&LifecycleNodeInterface::on_shutdown, this, _1));
  register_on_activate(std::bind(&LifecycleNodeInterface::on_activate, this, _1));
  register_on_deactivate(std::bind(&LifecycleNodeInterface::on_deactivate, this, _1));
  register_on_error(std::bind(&LifecycleNodeInterface::on_error, this, _1));
}

LifecycleNode::~LifecycleNode()
{
  // Humble 16.0.9 shut the node down here; 16.0.10 reverted that, so no
  // transition runs. The members go in reverse order of creation, node base last,
  // which is the order upstream resets them in.
}

const char * LifecycleNode::get_name() const
{
  return node_base_->get_name();
}

const char * LifecycleNode::get_namespace() const
{
  return node_base_->get_namespace();
}

const char * LifecycleNode::get_fully_qualified_name() const
{
  return node_base_->get_fully_qualified_name();
}

rclcpp::Logger LifecycleNode::get_logger() const
{
  return node_logging_->get_logger();
}

rclcpp::CallbackGroup::SharedPtr LifecycleNode::create_callback_group(
  rclcpp::CallbackGroupType group_type, bool automatically_add_to_executor_with_node)
{
  return node_base_->create_callback_group(group_type, automatically_add_to_executor_with_node);
}

void LifecycleNode::for_each_callback_group(
  const rclcpp::node_interfaces::NodeBaseInterface::CallbackGroupFunction & func)
{
  node_base_->for_each_callback_group(func);
}

const rclcpp::ParameterValue & LifecycleNode::declare_parameter(
  const std::string & name, const rclcpp::ParameterValue & default_value,
  const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor, bool ignore_override)
{
  return node_parameters_->declare_parameter(
    name, default_value, parameter_descriptor, ignore_override);
}

const rclcpp::ParameterValue & LifecycleNode::declare_parameter(
  const std::string & name, rclcpp::ParameterType type,
  const rcl_interfaces::msg::ParameterDescriptor & parameter_descriptor, bool ignore_override)
{
  return node_parameters_->declare_parameter(name, type, parameter_descriptor, ignore_override);
}

void LifecycleNode::undeclare_parameter(const std::string & name)
{
  node_parameters_->undeclare_parameter(name);
}

bool LifecycleNode::has_parameter(const std::string & name) const
{
  return node_parameters_->has_parameter(name);
}

rcl_interfaces::msg::SetParametersResult LifecycleNode::set_parameter(
  const rclcpp::Parameter & parameter)
{
  return set_parameters_atomically({parameter});
}

std::vector<rcl_interfaces::msg::SetParametersResult> LifecycleNode::set_parameters(
  const std::vector<rclcpp::Parameter> & parameters)
{
  return node_parameters_->set_parameters(parameters);
}

rcl_interfaces::msg::SetParametersResult LifecycleNode::set_parameters_atomically(
  const std::vector<rclcpp::Parameter> & parameters)
{
  return node_parameters_->set_parameters_atomically(parameters);
}

rclcpp::Parameter LifecycleNode::get_parameter(const std::string & name) const
{
  return node_parameters_->get_parameter(name);
}

bool LifecycleNode::get_parameter(const std::string & name, rclcpp::Parameter & parameter) const
{
  return node_parameters_->get_parameter(name, parameter);
}

std::vector<rclcpp::Parameter> LifecycleNode::get_parameters(
  const std::vector<std::string> & names) const
{
  return node_parameters_->get_parameters(names);
}

rcl_interfaces::msg::ParameterDescriptor LifecycleNode::describe_parameter(
  const std::string & name) const
{
  auto result = node_parameters_->describe_parameters({name});
  if (result.size() == 0) {
    throw rclcpp::exceptions::ParameterNotDeclaredException(name);
  }
  if (result.size() > 1) {
    throw std::runtime_error("number of described parameters unexpectedly more than one");
  }
  return result.front();
}

std::vector<rcl_interfaces::msg::ParameterDescriptor> LifecycleNode::describe_parameters(
  const std::vector<std::string> & names) const
{
  return node_parameters_->describe_parameters(names);
}

std::vector<uint8_t> LifecycleNode::get_parameter_types(
  const std::vector<std::string> & names) const
{
  return node_parameters_->get_parameter_types(names);
}

rcl_interfaces::msg::ListParametersResult LifecycleNode::list_parameters(
  const std::vector<std::string> & prefixes, uint64_t depth) const
{
  return node_parameters_->list_parameters(prefixes, depth);
}

rclcpp::node_interfaces::OnSetParametersCallbackHandle::SharedPtr
LifecycleNode::add_on_set_parameters_callback(OnParametersSetCallbackType callback)
{
  return node_parameters_->add_on_set_parameters_callback(callback);
}

void LifecycleNode::remove_on_set_parameters_callback(
  const OnSetParametersCallbackHandle * const handler)
{
  node_parameters_->remove_on_set_parameters_callback(handler);
}

size_t LifecycleNode::count_publishers(const std::string & topic_name) const
{
  return node_graph_->count_publishers(topic_name);
}

size_t LifecycleNode::count_subscribers(const std::string & topic_name) const
{
  return node_graph_->count_subscribers(topic_name);
}

rclcpp::Clock::SharedPtr LifecycleNode::get_clock()
{
  return node_clock_->get_clock();
}

rclcpp::Clock::ConstSharedPtr LifecycleNode::get_clock() const
{
  return node_clock_->get_clock();
}

rclcpp::Time LifecycleNode::now() const
{
  return node_clock_->get_clock()->now();
}

rclcpp::node_interfaces::NodeBaseInterface::SharedPtr LifecycleNode::get_node_base_interface()
{
  return node_base_;
}

rclcpp::node_interfaces::NodeClockInterface::SharedPtr LifecycleNode::get_node_clock_interface()
{
  return node_clock_;
}

rclcpp::node_interfaces::NodeGraphInterface::SharedPtr LifecycleNode::get_node_graph_interface()
{
  return node_graph_;
}

rclcpp::node_interfaces::NodeLoggingInterface::SharedPtr LifecycleNode::get_node_logging_interface()
{
  return node_logging_;
}

rclcpp::node_interfaces::NodeTimersInterface::SharedPtr LifecycleNode::get_node_timers_interface()
{
  return node_timers_;
}

rclcpp::node_interfaces::NodeTopicsInterface::SharedPtr LifecycleNode::get_node_topics_interface()
{
  return node_topics_;
}

rclcpp::node_interfaces::NodeServicesInterface::SharedPtr
LifecycleNode::get_node_services_interface()
{
  return node_services_;
}

rclcpp::node_interfaces::NodeParametersInterface::SharedPtr
LifecycleNode::get_node_parameters_interface()
{
  return node_parameters_;
}

const rclcpp::NodeOptions & LifecycleNode::get_node_options() const
{
  return node_options_;
}

bool LifecycleNode::register_on_configure(
  std::function<LifecycleNodeInterface::CallbackReturn(const State &)> fcn)
{
  return impl_->register_callback(lifecycle_msgs::msg::State::TRANSITION_STATE_CONFIGURING, fcn);
}

bool LifecycleNode::register_on_cleanup(
  std::function<LifecycleNodeInterface::CallbackReturn(const State &)> fcn)
{
  return impl_->register_callback(lifecycle_msgs::msg::State::TRANSITION_STATE_CLEANINGUP, fcn);
}

bool LifecycleNode::register_on_shutdown(
  std::function<LifecycleNodeInterface::CallbackReturn(const State &)> fcn)
{
  return impl_->register_callback(lifecycle_msgs::msg::State::TRANSITION_STATE_SHUTTINGDOWN, fcn);
}

bool LifecycleNode::register_on_activate(
  std::function<LifecycleNodeInterface::CallbackReturn(const State &)> fcn)
{
  return impl_->register_callback(lifecycle_msgs::msg::State::TRANSITION_STATE_ACTIVATING, fcn);
}

bool LifecycleNode::register_on_deactivate(
  std::function<LifecycleNodeInterface::CallbackReturn(const State &)> fcn)
{
  return impl_->register_callback(lifecycle_msgs::msg::State::TRANSITION_STATE_DEACTIVATING, fcn);
}

bool LifecycleNode::register_on_error(
  std::function<LifecycleNodeInterface::CallbackReturn(const State &)> fcn)
{
  return impl_->register_callback(
    lifecycle_msgs::msg::State::TRANSITION_STATE_ERRORPROCESSING, fcn);
}

const State & LifecycleNode::get_current_state()
{
  return impl_->get_current_state();
}

std::vector<State> LifecycleNode::get_available_states()
{
  return impl_->get_available_states();
}

std::vector<Transition> LifecycleNode::get_available_transitions()
{
  return impl_->get_available_transitions();
}

std::vector<Transition> LifecycleNode::get_transition_graph()
{
  return impl_->get_transition_graph();
}

const State & LifecycleNode::trigger_transition(const Transition & transition)
{
  return trigger_transition(transition.id());
}

const State & LifecycleNode::trigger_transition(
  const Transition & transition, LifecycleNodeInterface::CallbackReturn & cb_return_code)
{
  return trigger_transition(transition.id(), cb_return_code);
}

const State & LifecycleNode::trigger_transition(uint8_t transition_id)
{
  return impl_->trigger_transition(transition_id);
}

const State & LifecycleNode::trigger_transition(
  uint8_t transition_id, LifecycleNodeInterface::CallbackReturn & cb_return_code)
{
  return impl_->trigger_transition(transition_id, cb_return_code);
}

const State & LifecycleNode::configure()
{
  return impl_->trigger_transition(lifecycle_msgs::msg::Transition::TRANSITION_CONFIGURE);
}

const State & LifecycleNode::configure(LifecycleNodeInterface::CallbackReturn & cb_return_code)
{
  return impl_->trigger_transition(
    lifecycle_msgs::msg::Transition::TRANSITION_CONFIGURE, cb_return_code);
}

const State & LifecycleNode::cleanup()
{
  return impl_->trigger_transition(lifecycle_msgs::msg::Transition::TRANSITION_CLEANUP);
}

const State & LifecycleNode::cleanup(LifecycleNodeInterface::CallbackReturn & cb_return_code)
{
  return impl_->trigger_transition(
    lifecycle_msgs::msg::Transition::TRANSITION_CLEANUP, cb_return_code);
}

const State & LifecycleNode::activate()
{
  return impl_->trigger_transition(lifecycle_msgs::msg::Transition::TRANSITION_ACTIVATE);
}

const State & LifecycleNode::activate(LifecycleNodeInterface::CallbackReturn & cb_return_code)
{
  return impl_->trigger_transition(
    lifecycle_msgs::msg::Transition::TRANSITION_ACTIVATE, cb_return_code);
}

const State & LifecycleNode::deactivate()
{
  return impl_->trigger_transition(lifecycle_msgs::msg::Transition::TRANSITION_DEACTIVATE);
}

const State & LifecycleNode::deactivate(LifecycleNodeInterface::CallbackReturn & cb_return_code)
{
  return impl_->trigger_transition(
    lifecycle_msgs::msg::Transition::TRANSITION_DEACTIVATE, cb_return_code);
}

// Shutdown goes by label: each primary state has its own shutdown transition id.
const State & LifecycleNode::shutdown()
{
  return impl_->trigger_transition("shutdown");
}

const State & LifecycleNode::shutdown(LifecycleNodeInterface::CallbackReturn & cb_return_code)
{
  return impl_->trigger_transition("shutdown", cb_return_code);
}

node_interfaces::LifecycleNodeInterface::CallbackReturn LifecycleNode::on_activate(const State &)
{
  impl_->on_activate();
  return LifecycleNodeInterface::CallbackReturn::SUCCESS;
}

node_interfaces::LifecycleNodeInterface::CallbackReturn LifecycleNode::on_deactivate(const State &)
{
  impl_->on_deactivate();
  return LifecycleNodeInterface::CallbackReturn::SUCCESS;
}

void LifecycleNode::add_managed_entity(
  std::weak_ptr<rclcpp_lifecycle::ManagedEntityInterface> managed_entity)
{
  impl_->add_managed_entity(managed_entity);
}

void LifecycleNode::add_timer_handle(std::shared_ptr<rclcpp::TimerBase> timer)
{
  impl_->add_timer_handle(timer);
}

}  // namespace rclcpp_lifecycle
