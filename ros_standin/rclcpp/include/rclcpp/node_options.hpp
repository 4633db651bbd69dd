#ifndef RCLCPP__NODE_OPTIONS_HPP_
#define RCLCPP__NODE_OPTIONS_HPP_

#include <string>
#include <vector>

#include "rcl/allocator.h"
#include "rclcpp/context.hpp"
#include "rclcpp/contexts/default_context.hpp"
#include "rclcpp/parameter.hpp"
#include "rclcpp/publisher_options.hpp"
#include "rclcpp/qos.hpp"
#include "rmw/qos_profiles.h"

namespace rclcpp
{

/// @brief Everything a node is created with besides its name and namespace.
///
/// Note that arguments() only counts inside a "--ros-args" section, as on a command line.
class NodeOptions
{
public:
  explicit NodeOptions(rcl_allocator_t allocator = rcl_get_default_allocator());

  virtual ~NodeOptions() = default;

  NodeOptions(const NodeOptions & other);

  NodeOptions & operator=(const NodeOptions & other);

  /// @brief The context the node is created in (the global default one unless set).
  rclcpp::Context::SharedPtr context() const;

  NodeOptions & context(rclcpp::Context::SharedPtr context);

  /// @brief Command line style arguments for this node alone.
  const std::vector<std::string> & arguments() const;

  NodeOptions & arguments(const std::vector<std::string> & arguments);

  /// @brief Overrides that beat every command line source.
  std::vector<rclcpp::Parameter> & parameter_overrides();

  const std::vector<rclcpp::Parameter> & parameter_overrides() const;

  NodeOptions & parameter_overrides(const std::vector<rclcpp::Parameter> & parameter_overrides);

  /// @brief Appends one override.
  template<typename ParameterT>
  NodeOptions & append_parameter_override(const std::string & name, const ParameterT & value)
  {
    this->parameter_overrides().emplace_back(name, rclcpp::ParameterValue(value));
    return *this;
  }

  /// @brief Whether the arguments given to rclcpp::init apply to this node.
  bool use_global_arguments() const;

  NodeOptions & use_global_arguments(bool use_global_arguments);

  bool enable_rosout() const;

  NodeOptions & enable_rosout(bool enable_rosout);

  bool use_intra_process_comms() const;

  NodeOptions & use_intra_process_comms(bool use_intra_process_comms);

  bool enable_topic_statistics() const;

  NodeOptions & enable_topic_statistics(bool enable_topic_statistics);

  bool start_parameter_services() const;

  NodeOptions & start_parameter_services(bool start_parameter_services);

  bool start_parameter_event_publisher() const;

  NodeOptions & start_parameter_event_publisher(bool start_parameter_event_publisher);

  const rclcpp::QoS & clock_qos() const;

  NodeOptions & clock_qos(const rclcpp::QoS & clock_qos);

  bool use_clock_thread() const;

  NodeOptions & use_clock_thread(const bool use_clock_thread);

  const rclcpp::QoS & parameter_event_qos() const;

  NodeOptions & parameter_event_qos(const rclcpp::QoS & parameter_event_qos);

  const rclcpp::QoS & rosout_qos() const;

  NodeOptions & rosout_qos(const rclcpp::QoS & rosout_qos);

  const rclcpp::PublisherOptionsBase & parameter_event_publisher_options() const;

  NodeOptions & parameter_event_publisher_options(
    const rclcpp::PublisherOptionsBase & parameter_event_publisher_options);

  /// @brief Whether parameters may be set and read without being declared.
  bool allow_undeclared_parameters() const;

  NodeOptions & allow_undeclared_parameters(bool allow_undeclared_parameters);

  /// @brief Whether every override is declared when the node is created.
  bool automatically_declare_parameters_from_overrides() const;

  NodeOptions & automatically_declare_parameters_from_overrides(
    bool automatically_declare_parameters_from_overrides);

  const rcl_allocator_t & allocator() const;

  NodeOptions & allocator(rcl_allocator_t allocator);

private:
  rclcpp::Context::SharedPtr context_{rclcpp::contexts::get_global_default_context()};

  std::vector<std::string> arguments_{};

  std::vector<rclcpp::Parameter> parameter_overrides_{};

  bool use_global_arguments_{true};

  bool enable_rosout_{true};

  bool use_intra_process_comms_{false};

  bool enable_topic_statistics_{false};

  bool start_parameter_services_{true};

  bool start_parameter_event_publisher_{true};

  rclcpp::QoS clock_qos_ = rclcpp::ClockQoS();

  bool use_clock_thread_{true};

  rclcpp::QoS parameter_event_qos_ = rclcpp::ParameterEventsQoS(
    rclcpp::QoSInitialization::from_rmw(rmw_qos_profile_parameter_events));

  rclcpp::QoS rosout_qos_ = rclcpp::RosoutQoS();

  rclcpp::PublisherOptionsBase parameter_event_publisher_options_ = rclcpp::PublisherOptionsBase();

  bool allow_undeclared_parameters_{false};

  bool automatically_declare_parameters_from_overrides_{false};

  rcl_allocator_t allocator_{rcl_get_default_allocator()};
};

}  // namespace rclcpp

#endif  // RCLCPP__NODE_OPTIONS_HPP_
