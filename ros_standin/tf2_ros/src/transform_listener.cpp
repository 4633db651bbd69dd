#include "tf2_ros/transform_listener.h"

#include <cstdio>
#include <string>

#include "tf2/exceptions.h"

namespace tf2_ros
{

TransformListener::TransformListener(tf2::BufferCore & buffer, bool spin_thread)
: buffer_(buffer)
{
  rclcpp::NodeOptions options;
  // A unique name per listener. Upstream names the node "_" and renames it with
  // a "-r __node:=..." argument of its own (so that a __node remap on the
  // command line cannot give every listener the same name); remaps are not
  // supported here, so the node gets the resulting name directly.
  char node_name[42];
  snprintf(
    node_name, sizeof(node_name), "transform_listener_impl_%zx", reinterpret_cast<size_t>(this));
  options.start_parameter_event_publisher(false);
  options.start_parameter_services(false);
  optional_default_node_ = rclcpp::Node::make_shared(node_name, options);
  init(
    optional_default_node_, spin_thread, DynamicListenerQoS(), StaticListenerQoS(),
    detail::get_default_transform_listener_sub_options(),
    detail::get_default_transform_listener_static_sub_options());
}

TransformListener::~TransformListener()
{
  if (spin_thread_) {
    // Upstream pitfall kept on purpose (geometry2#517): when the listener is
    // destroyed before its thread has entered spin(), this cancel is lost
    // (spin() sets its flag back to true), so the join below waits until the
    // default context shuts down. Not fixed upstream in Humble either.
    executor_->cancel();
    dedicated_listener_thread_->join();
  }
}

void TransformListener::subscription_callback(
  const tf2_msgs::msg::TFMessage::ConstSharedPtr msg, bool is_static)
{
  const tf2_msgs::msg::TFMessage & msg_in = *msg;
  // Upstream cannot tell who published a transform either.
  std::string authority = "Authority undetectable";
  for (size_t i = 0u; i < msg_in.transforms.size(); i++) {
    try {
      buffer_.setTransform(msg_in.transforms[i], authority, is_static);
    } catch (const tf2::TransformException & ex) {
      std::string temp = ex.what();
      RCLCPP_ERROR(
        node_logging_interface_->get_logger(),
        "Failure to set received transform from %s to %s with error: %s\n",
        msg_in.transforms[i].child_frame_id.c_str(), msg_in.transforms[i].header.frame_id.c_str(),
        temp.c_str());
    }
  }
}

}  // namespace tf2_ros
