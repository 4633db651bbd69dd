#include <string>

#include "pluginlib/class_list_macros.hpp"
#include "shape.hpp"

namespace standin_test_plugins
{

class Square : public standin_test_base::Shape
{
public:
  std::string name() const override { return "square"; }
};

class Triangle : public standin_test_base::Shape
{
public:
  std::string name() const override { return "triangle"; }
};

class Hexagon : public standin_test_base::Shape
{
public:
  std::string name() const override { return "hexagon"; }
};

}  // namespace standin_test_plugins

PLUGINLIB_EXPORT_CLASS(standin_test_plugins::Square, standin_test_base::Shape)
PLUGINLIB_EXPORT_CLASS(standin_test_plugins::Triangle, standin_test_base::Shape)
PLUGINLIB_EXPORT_CLASS(standin_test_plugins::Hexagon, standin_test_base::Shape)
