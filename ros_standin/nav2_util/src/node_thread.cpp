#include "nav2_util/node_thread.hpp"

#include <memory>

namespace nav2_util
{

NodeThread::NodeThread(rclcpp::node_interfaces::NodeBaseInterface::SharedPtr node_base)
: node_(node_base)
{
  executor_ = std::make_shared<rclcpp::executors::SingleThreadedExecutor>();
  // As upstream, the node is added on the new thread, so nothing here waits for
  // the spin to start.
  thread_ = std::make_unique<std::thread>([&]() {
    executor_->add_node(node_);
    executor_->spin();
    executor_->remove_node(node_);
  });
}

NodeThread::NodeThread(rclcpp::executors::SingleThreadedExecutor::SharedPtr executor)
: executor_(executor)
{
  thread_ = std::make_unique<std::thread>([&]() { executor_->spin(); });
}

NodeThread::~NodeThread()
{
  // Upstream's order, pitfall included: a cancel that reaches the executor
  // before the thread has started spinning is lost, and the join then waits
  // until something else (rclcpp::shutdown) ends the spin.
  executor_->cancel();
  thread_->join();
}

}  // namespace nav2_util
