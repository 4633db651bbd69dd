#include "rclcpp/node_options.hpp"

#include <string>
#include <vector>

namespace rclcpp
{

NodeOptions::NodeOptions(rcl_allocator_t allocator)
: allocator_(allocator)
{
}

NodeOptions::NodeOptions(const NodeOptions & other)
{
  *this = other;
}

NodeOptions & NodeOptions::operator=(const NodeOptions & other)
{
  if (this != &other) {
    this->context_ = other.context_;
    this->arguments_ = other.arguments_;
    this->parameter_overrides_ = other.parameter_overrides_;
    this->use_global_arguments_ = other.use_global_arguments_;
    this->enable_rosout_ = other.enable_rosout_;
    this->use_intra_process_comms_ = other.use_intra_process_comms_;
    this->enable_topic_statistics_ = other.enable_topic_statistics_;
    this->start_parameter_services_ = other.start_parameter_services_;
    this->start_parameter_event_publisher_ = other.start_parameter_event_publisher_;
    this->clock_qos_ = other.clock_qos_;
    this->use_clock_thread_ = other.use_clock_thread_;
    this->parameter_event_qos_ = other.parameter_event_qos_;
    this->rosout_qos_ = other.rosout_qos_;
    this->parameter_event_publisher_options_ = other.parameter_event_publisher_options_;
    this->allow_undeclared_parameters_ = other.allow_undeclared_parameters_;
    this->automatically_declare_parameters_from_overrides_ =
      other.automatically_declare_parameters_from_overrides_;
    this->allocator_ = other.allocator_;
  }
  return *this;
}

rclcpp::Context::SharedPtr NodeOptions::context() const
{
  return this->context_;
}

NodeOptions & NodeOptions::context(rclcpp::Context::SharedPtr context)
{
  this->context_ = context;
  return *this;
}

const std::vector<std::string> & NodeOptions::arguments() const
{
  return this->arguments_;
}

NodeOptions & NodeOptions::arguments(const std::vector<std::string> & arguments)
{
  this->arguments_ = arguments;
  return *this;
}

std::vector<rclcpp::Parameter> & NodeOptions::parameter_overrides()
{
  return this->parameter_overrides_;
}

const std::vector<rclcpp::Parameter> & NodeOptions::parameter_overrides() const
{
  return this->parameter_overrides_;
}

NodeOptions & NodeOptions::parameter_overrides(
  const std::vector<rclcpp::Parameter> & parameter_overrides)
{
  this->parameter_overrides_ = parameter_overrides;
  return *this;
}

bool NodeOptions::use_global_arguments() const
{
  return this->use_global_arguments_;
}

NodeOptions & NodeOptions::use_global_arguments(bool use_global_arguments)
{
  this->use_global_arguments_ = use_global_arguments;
  return *this;
}

bool NodeOptions::enable_rosout() const
{
  return this->enable_rosout_;
}

NodeOptions & NodeOptions::enable_rosout(bool enable_rosout)
{
  this->enable_rosout_ = enable_rosout;
  return *this;
}

bool NodeOptions::use_intra_process_comms() const
{
  return this->use_intra_process_comms_;
}

NodeOptions & NodeOptions::use_intra_process_comms(bool use_intra_process_comms)
{
  this->use_intra_process_comms_ = use_intra_process_comms;
  return *this;
}

bool NodeOptions::enable_topic_statistics() const
{
  return this->enable_topic_statistics_;
}

NodeOptions & NodeOptions::enable_topic_statistics(bool enable_topic_statistics)
{
  this->enable_topic_statistics_ = enable_topic_statistics;
  return *this;
}

bool NodeOptions::start_parameter_services() const
{
  return this->start_parameter_services_;
}

NodeOptions & NodeOptions::start_parameter_services(bool start_parameter_services)
{
  this->start_parameter_services_ = start_parameter_services;
  return *this;
}

bool NodeOptions::start_parameter_event_publisher() const
{
  return this->start_parameter_event_publisher_;
}

NodeOptions & NodeOptions::start_parameter_event_publisher(bool start_parameter_event_publisher)
{
  this->start_parameter_event_publisher_ = start_parameter_event_publisher;
  return *this;
}

const rclcpp::QoS & NodeOptions::clock_qos() const
{
  return this->clock_qos_;
}

NodeOptions & NodeOptions::clock_qos(const rclcpp::QoS & clock_qos)
{
  this->clock_qos_ = clock_qos;
  return *this;
}

bool NodeOptions::use_clock_thread() const
{
  return this->use_clock_thread_;
}

NodeOptions & NodeOptions::use_clock_thread(const bool use_clock_thread)
{
  this->use_clock_thread_ = use_clock_thread;
  return *this;
}

const rclcpp::QoS & NodeOptions::parameter_event_qos() const
{
  return this->parameter_event_qos_;
}

NodeOptions & NodeOptions::parameter_event_qos(const rclcpp::QoS & parameter_event_qos)
{
  this->parameter_event_qos_ = parameter_event_qos;
  return *this;
}

const rclcpp::QoS & NodeOptions::rosout_qos() const
{
  return this->rosout_qos_;
}

NodeOptions & NodeOptions::rosout_qos(const rclcpp::QoS & rosout_qos)
{
  this->rosout_qos_ = rosout_qos;
  return *this;
}

const rclcpp::PublisherOptionsBase & NodeOptions::parameter_event_publisher_options() const
{
  return parameter_event_publisher_options_;
}

NodeOptions & NodeOptions::parameter_event_publisher_options(
  const rclcpp::PublisherOptionsBase & parameter_event_publisher_options)
{
  parameter_event_publisher_options_ = parameter_event_publisher_options;
  return *this;
}

bool NodeOptions::allow_undeclared_parameters() const
{
  return this->allow_undeclared_parameters_;
}

NodeOptions & NodeOptions::allow_undeclared_parameters(bool allow_undeclared_parameters)
{
  this->allow_undeclared_parameters_ = allow_undeclared_parameters;
  return *this;
}

bool NodeOptions::automatically_declare_parameters_from_overrides() const
{
  return this->automatically_declare_parameters_from_overrides_;
}

NodeOptions & NodeOptions::automatically_declare_parameters_from_overrides(
  bool automatically_declare_parameters_from_overrides)
{
  this->automatically_declare_parameters_from_overrides_ =
    automatically_declare_parameters_from_overrides;
  return *this;
}

const rcl_allocator_t & NodeOptions::allocator() const
{
  return this->allocator_;
}

NodeOptions & NodeOptions::allocator(rcl_allocator_t allocator)
{
  this->allocator_ = allocator;
  return *this;
}

}  // namespace rclcpp
