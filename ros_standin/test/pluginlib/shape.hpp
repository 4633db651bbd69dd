#ifndef STANDIN_TEST__PLUGINLIB__SHAPE_HPP_
#define STANDIN_TEST__PLUGINLIB__SHAPE_HPP_

#include <string>

namespace standin_test_base
{

// Base class of the test plugins. The destructor reports through a flag owned by the test, so
// a test can see that the loader's deleter really destroyed the object inside the plugin.
class Shape
{
public:
  virtual ~Shape()
  {
    if (destroyed_) {
      *destroyed_ = true;
    }
  }

  virtual std::string name() const = 0;

  void reportDestructionTo(bool * destroyed) { destroyed_ = destroyed; }

private:
  bool * destroyed_ = nullptr;
};

}  // namespace standin_test_base

#endif  // STANDIN_TEST__PLUGINLIB__SHAPE_HPP_
