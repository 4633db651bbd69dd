// Parameters as upstream resolves and guards them: the --ros-args parser (rcl), the
// override resolution for a node (rclcpp), and NodeParameters' type, callback and
// declaration rules with their exact texts.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "../rclcpp/src/rclcpp/detail/resolve_parameter_overrides.hpp"
#include "../rclcpp/src/rclcpp/detail/ros_arguments.hpp"
#include "rclcpp/exceptions.hpp"
#include "rclcpp/node.hpp"
#include "rclcpp/node_interfaces/node_parameters.hpp"
#include "rclcpp/node_options.hpp"
#include "rclcpp/parameter.hpp"
#include "rclcpp/parameter_value.hpp"

namespace
{

using rclcpp::detail::ParameterBlock;
using rclcpp::detail::parse_ros_arguments;
using rclcpp::detail::resolve_parameter_overrides;
using rclcpp::detail::RosArguments;
using SetResult = rcl_interfaces::msg::SetParametersResult;

// A params file in a directory of its own, removed with the fixture.
class ParamsFile
{
public:
  explicit ParamsFile(const std::string & content)
  {
    char dir_template[] = "/tmp/standin_params_XXXXXX";
    dir_ = ::mkdtemp(dir_template);
    path_ = dir_ + "/params.yaml";
    std::ofstream(path_) << content;
  }

  ~ParamsFile()
  {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  const std::string & path() const { return path_; }

private:
  std::string dir_;
  std::string path_;
};

const char kCostmapYaml[] =
  "local_costmap:\n"
  "  local_costmap:\n"
  "    ros__parameters:\n"
  "      update_frequency: 5.0\n"
  "      width: 3\n"
  "      rolling_window: true\n"
  "      global_frame: odom\n"
  "      plugins: [\"voxel_layer\", \"inflation_layer\"]\n"
  "      footprint_padding: 1\n"
  "      inflation_layer:\n"
  "        inflation_radius: 0.55\n"
  "        cost_scaling_factor: [1, 2, 3]\n"
  "/**:\n"
  "  ros__parameters:\n"
  "    use_sim_time: false\n"
  "    update_frequency: 2.0\n";

RosArguments parse(std::vector<std::string> args)
{
  args.insert(args.begin(), "prog");
  std::vector<const char *> argv;
  for (const auto & arg : args) {
    argv.push_back(arg.c_str());
  }
  return parse_ros_arguments(static_cast<int>(argv.size()), argv.data());
}

const rclcpp::Parameter & find(const ParameterBlock & block, const std::string & name)
{
  for (const auto & parameter : block.parameters) {
    if (parameter.get_name() == name) {
      return parameter;
    }
  }
  throw std::out_of_range("no parameter " + name + " in block " + block.node_key);
}

std::string what_of(const std::function<void()> & f)
{
  try {
    f();
  } catch (const std::exception & e) {
    return e.what();
  }
  return "<no exception>";
}

}  // namespace

// ---------------------------------------------------------------------------
// The command line, as rcl parses it.
// ---------------------------------------------------------------------------

TEST(RosArguments, ParamsFileNestsNodeNamesWithSlashAndParameterNamesWithDot)
{
  ParamsFile file(kCostmapYaml);
  const auto args = parse({"--ros-args", "--params-file", file.path()});

  ASSERT_EQ(args.parameter_blocks.size(), 2u);
  const auto & costmap = args.parameter_blocks[0];
  EXPECT_EQ(costmap.node_key, "local_costmap/local_costmap");
  EXPECT_EQ(args.parameter_blocks[1].node_key, "/**");

  EXPECT_EQ(find(costmap, "update_frequency").as_double(), 5.0);
  EXPECT_EQ(find(costmap, "width").as_int(), 3);
  EXPECT_TRUE(find(costmap, "rolling_window").as_bool());
  EXPECT_EQ(find(costmap, "global_frame").as_string(), "odom");
  EXPECT_EQ(
    find(costmap, "plugins").as_string_array(),
    (std::vector<std::string>{"voxel_layer", "inflation_layer"}));
  // YAML "1" is an integer even where the node expects a double.
  EXPECT_EQ(find(costmap, "footprint_padding").get_type(), rclcpp::PARAMETER_INTEGER);
  EXPECT_EQ(find(costmap, "inflation_layer.inflation_radius").as_double(), 0.55);
  EXPECT_EQ(
    find(costmap, "inflation_layer.cost_scaling_factor").as_integer_array(),
    (std::vector<int64_t>{1, 2, 3}));
}

TEST(RosArguments, ScalarsAreTypedAsRclTypesThem)
{
  const auto args =
    parse({"--ros-args",         "-p", "hex:=0x10",          "-p", "octal:=010",  "-p",
           "not_octal:=08",      "-p", "word:=yes",          "-p", "quoted:='1'", "-p",
           "exp:=1e3",           "-p", "text:=hello world",  "-p", "inf:=.inf",   "-p",
           "bools:=[true, off]", "-p", "doubles:=[1.5, 2.0]"});
  ASSERT_EQ(args.parameter_blocks.size(), 1u);
  const auto & block = args.parameter_blocks[0];
  EXPECT_EQ(find(block, "hex").as_int(), 16);
  EXPECT_EQ(find(block, "octal").as_int(), 8);
  EXPECT_EQ(find(block, "not_octal").as_double(), 8.0);
  EXPECT_TRUE(find(block, "word").as_bool());
  EXPECT_EQ(find(block, "quoted").as_string(), "1");
  EXPECT_EQ(find(block, "exp").as_double(), 1000.0);
  EXPECT_EQ(find(block, "text").as_string(), "hello world");
  EXPECT_TRUE(std::isinf(find(block, "inf").as_double()));
  EXPECT_EQ(find(block, "bools").as_bool_array(), (std::vector<bool>{true, false}));
  EXPECT_EQ(find(block, "doubles").as_double_array(), (std::vector<double>{1.5, 2.0}));
}

TEST(RosArguments, ParamRuleWithoutNodeGoesToWildcardBlockAndWithNodeToThatNode)
{
  const auto args = parse({"--ros-args", "-p", "a:=1", "--param", "talker:b:=2", "-p", "c:=3"});
  ASSERT_EQ(args.parameter_blocks.size(), 2u);
  EXPECT_EQ(args.parameter_blocks[0].node_key, "/**");
  EXPECT_EQ(args.parameter_blocks[0].parameters.size(), 2u);
  EXPECT_EQ(args.parameter_blocks[1].node_key, "talker");
  EXPECT_EQ(find(args.parameter_blocks[1], "b").as_int(), 2);
}

TEST(RosArguments, RuleAfterAFileWritesIntoTheExistingBlockInPlace)
{
  ParamsFile file(kCostmapYaml);
  const auto args = parse(
    {"--ros-args", "--params-file", file.path(), "-p", "use_sim_time:=true", "-p", "extra:=1"});
  ASSERT_EQ(args.parameter_blocks.size(), 2u);
  const auto & wildcard = args.parameter_blocks[1];
  ASSERT_EQ(wildcard.node_key, "/**");
  ASSERT_EQ(wildcard.parameters.size(), 3u);
  EXPECT_EQ(wildcard.parameters[0].get_name(), "use_sim_time");
  EXPECT_TRUE(wildcard.parameters[0].as_bool());
  EXPECT_EQ(wildcard.parameters[2].get_name(), "extra");
}

TEST(RosArguments, EverythingOutsideRosArgsSectionsIsKeptInOrder)
{
  const auto args = parse(
    {"a", "--ros-args", "-p", "x:=1", "--", "b", "--ros-args", "-p", "y:=2", "--ros-args-end", "c",
     "-p", "z:=3"});
  EXPECT_EQ(
    args.non_ros_arguments, (std::vector<std::string>{"prog", "a", "b", "c", "-p", "z:=3"}));
  ASSERT_EQ(args.parameter_blocks.size(), 1u);
  EXPECT_EQ(args.parameter_blocks[0].parameters.size(), 2u);
}

TEST(RosArguments, MissingParamsFileIsAnInvalidRosArgsError)
{
  const std::string missing = "/nonexistent/dir/params.yaml";
  try {
    parse({"--ros-args", "--params-file", missing});
    FAIL() << "no exception";
  } catch (const rclcpp::exceptions::RCLInvalidROSArgsError & e) {
    const std::string expected_start =
      "failed to initialize rcl: Couldn't parse params file: '--params-file " + missing +
      "'. Error: ";
    EXPECT_EQ(std::string(e.what()).rfind(expected_start, 0), 0u) << e.what();
  }
}

TEST(RosArguments, ValueAboveRosParametersNamesItsLine)
{
  ParamsFile file("node:\n  width: 3\n  ros__parameters:\n    a: 1\n");
  const std::string text = what_of([&] { parse({"--ros-args", "--params-file", file.path()}); });
  EXPECT_EQ(
    text, "failed to initialize rcl: Couldn't parse params file: '--params-file " + file.path() +
            "'. Error: Cannot have a value before ros__parameters at line 2");
}

TEST(RosArguments, MixedSequenceAndBadRuleAreRefused)
{
  EXPECT_THROW(
    parse({"--ros-args", "-p", "a:=[1, x]"}), rclcpp::exceptions::RCLInvalidROSArgsError);
  const std::string text = what_of([] { parse({"--ros-args", "-p", "no_separator"}); });
  EXPECT_EQ(
    text.rfind(
      "failed to initialize rcl: Couldn't parse parameter override rule: '-p no_separator'. "
      "Error: ",
      0),
    0u)
    << text;
  EXPECT_EQ(
    what_of([] {
      parse({"--ros-args", "-p"});
    }),
    "failed to initialize rcl: Couldn't parse trailing -p flag. No parameter override rule found.");
}

TEST(RosArguments, UnknownRosArgumentsAreListedTogether)
{
  try {
    parse({"--ros-args", "--foo", "-p", "a:=1", "--bar", "--", "--baz"});
    FAIL() << "no exception";
  } catch (const rclcpp::exceptions::UnknownROSArgsError & e) {
    EXPECT_STREQ(e.what(), "found unknown ROS arguments: '--foo', '--bar'");
    EXPECT_EQ(e.unknown_ros_args, (std::vector<std::string>{"--foo", "--bar"}));
  }
}

TEST(RosArguments, NodeArgumentsReportWithTheirOwnPrefix)
{
  EXPECT_EQ(
    what_of([] {
      parse_ros_arguments(std::vector<std::string>{"--ros-args", "--params-file"});
    }),
    "failed to parse arguments: Couldn't parse trailing --params-file flag. No file path "
    "provided.");
}

TEST(RosArguments, ContextInitRefusesABadParamsFileAndStaysInvalid)
{
  rclcpp::Context context;
  const char * argv[] = {"prog", "--ros-args", "--params-file", "/nonexistent/params.yaml"};
  EXPECT_THROW(context.init(4, argv), rclcpp::exceptions::RCLInvalidROSArgsError);
  EXPECT_FALSE(context.is_valid());
}

// ---------------------------------------------------------------------------
// Which overrides reach a node, and which wins.
// ---------------------------------------------------------------------------

TEST(ResolveParameterOverrides, WildcardBlockAfterTheNodeBlockWins)
{
  ParamsFile file(kCostmapYaml);
  const auto args = parse({"--ros-args", "--params-file", file.path()});
  const auto overrides =
    resolve_parameter_overrides("/local_costmap/local_costmap", {}, nullptr, &args);
  EXPECT_EQ(overrides.at("update_frequency").get<double>(), 2.0);
  EXPECT_EQ(overrides.at("width").get<int64_t>(), 3);
  EXPECT_FALSE(overrides.at("use_sim_time").get<bool>());
}

TEST(ResolveParameterOverrides, NodeKeysMatchTheFullyQualifiedName)
{
  ParamsFile file(
    "ns:\n  talker:\n    ros__parameters:\n      a: 1\n"
    "/*:\n  ros__parameters:\n    b: 1\n"
    "/*/talker:\n  ros__parameters:\n    c: 1\n"
    "talker:\n  ros__parameters:\n    d: 1\n");
  const auto args = parse({"--ros-args", "--params-file", file.path()});

  auto nested = resolve_parameter_overrides("/ns/talker", {}, nullptr, &args);
  EXPECT_EQ(nested.count("a"), 1u);
  EXPECT_EQ(nested.count("b"), 0u);  // "/*" is exactly one segment
  EXPECT_EQ(nested.count("c"), 1u);
  EXPECT_EQ(nested.count("d"), 0u);

  auto top = resolve_parameter_overrides("/talker", {}, nullptr, &args);
  EXPECT_EQ(top.count("a"), 0u);
  EXPECT_EQ(top.count("b"), 1u);
  EXPECT_EQ(top.count("d"), 1u);

  EXPECT_TRUE(resolve_parameter_overrides("/other/listener", {}, nullptr, &args).empty());
}

TEST(ResolveParameterOverrides, GlobalThenNodeArgumentsThenExplicitOverrides)
{
  const auto global = parse({"--ros-args", "-p", "a:=1", "-p", "b:=1", "-p", "c:=1"});
  const auto local =
    parse_ros_arguments(std::vector<std::string>{"--ros-args", "-p", "b:=2", "-p", "c:=2"});
  const auto overrides =
    resolve_parameter_overrides("/n", {rclcpp::Parameter("c", 3)}, &local, &global);
  EXPECT_EQ(overrides.at("a").get<int64_t>(), 1);
  EXPECT_EQ(overrides.at("b").get<int64_t>(), 2);
  EXPECT_EQ(overrides.at("c").get<int64_t>(), 3);
}

// ---------------------------------------------------------------------------
// Values and their texts.
// ---------------------------------------------------------------------------

TEST(ParameterValue, ReadingTheWrongTypeNamesBothTypes)
{
  const rclcpp::ParameterValue value(1.5);
  EXPECT_EQ(value.get<float>(), 1.5);
  EXPECT_EQ(what_of([&] { value.get<int>(); }), "expected [integer] got [double]");
  EXPECT_EQ(
    what_of([] { rclcpp::Parameter("p").as_string_array(); }),
    "expected [string_array] got [not set]");
}

TEST(ParameterValue, PrintsAsUpstreamDoes)
{
  EXPECT_EQ(rclcpp::to_string(rclcpp::ParameterValue(0.1)), "0.100000");
  EXPECT_EQ(rclcpp::to_string(rclcpp::ParameterValue(std::vector<double>{0.1, 2})), "[0.1, 2]");
  EXPECT_EQ(rclcpp::to_string(rclcpp::ParameterValue(std::vector<bool>{true})), "[true]");
  std::ostringstream os;
  os << rclcpp::Parameter("p", "x");
  EXPECT_EQ(os.str(), "{\"name\": \"p\", \"type\": \"string\", \"value\": \"x\"}");
}

TEST(ParameterValue, RoundTripsThroughTheMessage)
{
  const rclcpp::Parameter parameter("names", std::vector<std::string>{"a", "b"});
  const auto back = rclcpp::Parameter::from_parameter_msg(parameter.to_parameter_msg());
  EXPECT_EQ(back, parameter);
  EXPECT_EQ(back.get_value<std::vector<std::string>>(), parameter.as_string_array());
}

// ---------------------------------------------------------------------------
// A node's parameters.
// ---------------------------------------------------------------------------

class NodeParametersTest : public ::testing::Test
{
protected:
  // A context of its own, so that global arguments never leak between tests.
  void init(std::vector<std::string> args = {})
  {
    context_ = std::make_shared<rclcpp::Context>();
    args.insert(args.begin(), "prog");
    std::vector<const char *> argv;
    for (const auto & arg : args) {
      argv.push_back(arg.c_str());
    }
    context_->init(static_cast<int>(argv.size()), argv.data());
  }

  void TearDown() override
  {
    node_.reset();
    if (context_) {
      context_->shutdown("test done");
    }
  }

  rclcpp::node_interfaces::NodeParametersInterface & make_node(
    rclcpp::NodeOptions options = rclcpp::NodeOptions())
  {
    if (!context_) {
      init();
    }
    node_ = std::make_shared<rclcpp::Node>("talker", "/ns", options.context(context_));
    return *node_->get_node_parameters_interface();
  }

  rclcpp::Context::SharedPtr context_;
  rclcpp::Node::SharedPtr node_;
};

TEST_F(NodeParametersTest, DeclareTakesTheOverrideUnlessToldToIgnoreIt)
{
  init({"--ros-args", "-p", "a:=7", "-p", "b:=7"});
  auto & params = make_node();
  EXPECT_EQ(params.declare_parameter("a", rclcpp::ParameterValue(1)).get<int>(), 7);
  EXPECT_EQ(
    params
      .declare_parameter(
        "b", rclcpp::ParameterValue(1), rcl_interfaces::msg::ParameterDescriptor(), true)
      .get<int>(),
    1);
  EXPECT_EQ(params.get_parameter("a").as_int(), 7);
}

TEST_F(NodeParametersTest, OptionsBeatGlobalArgumentsUnlessGlobalOnesAreOff)
{
  init({"--ros-args", "-p", "a:=1", "-p", "b:=1"});
  auto options =
    rclcpp::NodeOptions().arguments({"--ros-args", "-p", "b:=2"}).append_parameter_override("c", 3);
  auto & params = make_node(options);
  EXPECT_EQ(params.get_parameter_overrides().at("a").get<int>(), 1);
  EXPECT_EQ(params.get_parameter_overrides().at("b").get<int>(), 2);
  EXPECT_EQ(params.get_parameter_overrides().at("c").get<int>(), 3);

  auto & isolated = make_node(rclcpp::NodeOptions().use_global_arguments(false));
  EXPECT_TRUE(isolated.get_parameter_overrides().empty());
}

TEST_F(NodeParametersTest, NodeArgumentsOutsideARosArgsSectionAreIgnored)
{
  auto & params = make_node(rclcpp::NodeOptions().arguments({"-p", "a:=1"}));
  EXPECT_TRUE(params.get_parameter_overrides().empty());
}

TEST_F(NodeParametersTest, OverrideOfAnotherTypeIsRefusedWithUpstreamText)
{
  init({"--ros-args", "-p", "x:=1"});
  auto & params = make_node();
  try {
    params.declare_parameter("x", rclcpp::ParameterValue(1.0));
    FAIL() << "no exception";
  } catch (const rclcpp::exceptions::InvalidParameterTypeException & e) {
    EXPECT_STREQ(
      e.what(),
      "parameter 'x' has invalid type: Wrong parameter type, parameter {x} is of type {double}, "
      "setting it to {integer} is not allowed.");
  }
  EXPECT_FALSE(params.has_parameter("x"));
}

TEST_F(NodeParametersTest, DeclaringTwiceOrReadingUndeclaredThrows)
{
  auto & params = make_node();
  params.declare_parameter("x", rclcpp::ParameterValue(1));
  EXPECT_EQ(
    what_of([&] { params.declare_parameter("x", rclcpp::ParameterValue(1)); }),
    "parameter 'x' has already been declared");
  EXPECT_THROW(
    params.declare_parameter("x", rclcpp::ParameterValue(1)),
    rclcpp::exceptions::ParameterAlreadyDeclaredException);
  EXPECT_THROW(params.get_parameter("y"), rclcpp::exceptions::ParameterNotDeclaredException);
  EXPECT_THROW(
    params.set_parameters({rclcpp::Parameter("y", 1)}),
    rclcpp::exceptions::ParameterNotDeclaredException);
}

TEST_F(NodeParametersTest, TypedDeclarationWithoutOverrideHasNoValue)
{
  auto & params = make_node();
  EXPECT_EQ(
    params.declare_parameter("plugin", rclcpp::PARAMETER_STRING).get_type(),
    rclcpp::PARAMETER_NOT_SET);
  rclcpp::Parameter out;
  EXPECT_FALSE(params.get_parameter("plugin", out));
  EXPECT_EQ(
    what_of([&] { params.get_parameter("plugin"); }), "parameter 'plugin' is not initialized");
  EXPECT_EQ(
    what_of([&] { node_->declare_parameter<std::string>("other"); }),
    "Statically typed parameter 'other' must be initialized.");
}

TEST_F(NodeParametersTest, OverridesCanBeDeclaredAutomatically)
{
  init({"--ros-args", "-p", "a:=1"});
  auto & params =
    make_node(rclcpp::NodeOptions().automatically_declare_parameters_from_overrides(true));
  EXPECT_EQ(params.get_parameter("a").as_int(), 1);
  // Dynamically typed: another type is accepted.
  EXPECT_TRUE(params.set_parameters({rclcpp::Parameter("a", "text")})[0].successful);
}

TEST_F(NodeParametersTest, UndeclaredParametersOnlyWhenAllowed)
{
  auto & params = make_node(rclcpp::NodeOptions().allow_undeclared_parameters(true));
  EXPECT_EQ(params.get_parameter("missing").get_type(), rclcpp::PARAMETER_NOT_SET);
  EXPECT_TRUE(params.set_parameters({rclcpp::Parameter("fresh", 2)})[0].successful);
  EXPECT_EQ(params.get_parameter("fresh").as_int(), 2);
}

TEST_F(NodeParametersTest, SetOfAnotherTypeIsRefusedAndLeavesTheValue)
{
  auto & params = make_node();
  params.declare_parameter("width", rclcpp::ParameterValue(5));
  const auto result = params.set_parameters({rclcpp::Parameter("width", 5.0)})[0];
  EXPECT_FALSE(result.successful);
  EXPECT_EQ(
    result.reason,
    "Wrong parameter type, parameter {width} is of type {integer}, setting it to {double} is not "
    "allowed.");
  EXPECT_EQ(params.get_parameter("width").as_int(), 5);
}

TEST_F(NodeParametersTest, CallbacksRunNewestFirstAndTheFirstRefusalStopsTheSet)
{
  auto & params = make_node();
  params.declare_parameter("x", rclcpp::ParameterValue(1));
  std::vector<std::string> calls;
  auto older =
    params.add_on_set_parameters_callback([&calls](const std::vector<rclcpp::Parameter> &) {
      calls.push_back("older");
      SetResult result;
      result.successful = true;
      return result;
    });
  auto newer = params.add_on_set_parameters_callback(
    [&calls](const std::vector<rclcpp::Parameter> & parameters) {
      calls.push_back("newer");
      SetResult result;
      result.successful = parameters[0].as_int() < 10;
      result.reason = result.successful ? "" : "too big";
      return result;
    });

  const auto refused = params.set_parameters({rclcpp::Parameter("x", 11)})[0];
  EXPECT_FALSE(refused.successful);
  EXPECT_EQ(refused.reason, "too big");
  EXPECT_EQ(calls, (std::vector<std::string>{"newer"}));
  EXPECT_EQ(params.get_parameter("x").as_int(), 1);

  calls.clear();
  EXPECT_TRUE(params.set_parameters({rclcpp::Parameter("x", 2)})[0].successful);
  EXPECT_EQ(calls, (std::vector<std::string>{"newer", "older"}));

  // The node holds its callbacks weakly: dropping the handle unregisters.
  newer.reset();
  calls.clear();
  EXPECT_TRUE(params.set_parameters({rclcpp::Parameter("x", 20)})[0].successful);
  EXPECT_EQ(calls, (std::vector<std::string>{"older"}));

  params.remove_on_set_parameters_callback(older.get());
  EXPECT_THROW(params.remove_on_set_parameters_callback(older.get()), std::runtime_error);
}

TEST_F(NodeParametersTest, CallbacksAlsoVetTheDeclaredValue)
{
  auto & params = make_node();
  auto handle = params.add_on_set_parameters_callback([](const std::vector<rclcpp::Parameter> &) {
    SetResult result;
    result.successful = false;
    result.reason = "no";
    return result;
  });
  EXPECT_EQ(
    what_of([&] { params.declare_parameter("x", rclcpp::ParameterValue(1)); }),
    "parameter 'x' could not be set: no");
  EXPECT_FALSE(params.has_parameter("x"));
}

TEST_F(NodeParametersTest, SettingFromInsideACallbackThrows)
{
  auto & params = make_node();
  params.declare_parameter("x", rclcpp::ParameterValue(1));
  params.declare_parameter("y", rclcpp::ParameterValue(1));
  auto handle = params.add_on_set_parameters_callback(
    [&params](const std::vector<rclcpp::Parameter> & parameters) {
      if (parameters[0].get_name() == "x") {
        // Reading is fine on the callback's own thread.
        EXPECT_EQ(params.get_parameter("y").as_int(), 1);
        params.set_parameters({rclcpp::Parameter("y", 2)});
      }
      SetResult result;
      result.successful = true;
      return result;
    });
  EXPECT_THROW(
    params.set_parameters({rclcpp::Parameter("x", 2)}),
    rclcpp::exceptions::ParameterModifiedInCallbackException);
  // The guard is released again.
  EXPECT_TRUE(params.set_parameters({rclcpp::Parameter("y", 3)})[0].successful);
}

TEST_F(NodeParametersTest, DescriptorsRefuseReadOnlyAndOutOfRangeValues)
{
  auto & params = make_node();
  rcl_interfaces::msg::ParameterDescriptor read_only;
  read_only.read_only = true;
  params.declare_parameter("fixed", rclcpp::ParameterValue(1), read_only);
  const auto result = params.set_parameters({rclcpp::Parameter("fixed", 2)})[0];
  EXPECT_FALSE(result.successful);
  EXPECT_EQ(result.reason, "parameter 'fixed' cannot be set because it is read-only");

  rcl_interfaces::msg::ParameterDescriptor ranged;
  rcl_interfaces::msg::FloatingPointRange range;
  range.from_value = 0.0;
  range.to_value = 1.0;
  ranged.floating_point_range.push_back(range);
  params.declare_parameter("ratio", rclcpp::ParameterValue(0.5), ranged);
  const auto out_of_range = params.set_parameters({rclcpp::Parameter("ratio", 1.5)})[0];
  EXPECT_FALSE(out_of_range.successful);
  EXPECT_EQ(out_of_range.reason, "Parameter {ratio} doesn't comply with floating point range.");
}

TEST_F(NodeParametersTest, OnlyDynamicallyTypedParametersCanBeUndeclared)
{
  auto & params = make_node();
  params.declare_parameter("static", rclcpp::ParameterValue(1));
  EXPECT_THROW(
    params.undeclare_parameter("static"), rclcpp::exceptions::InvalidParameterTypeException);
  rcl_interfaces::msg::ParameterDescriptor dynamic;
  dynamic.dynamic_typing = true;
  params.declare_parameter("dynamic", rclcpp::ParameterValue(1), dynamic);
  params.undeclare_parameter("dynamic");
  EXPECT_FALSE(params.has_parameter("dynamic"));
}

TEST_F(NodeParametersTest, ListsNamesAndPrefixes)
{
  auto & params = make_node();
  params.declare_parameter("a.b.c", rclcpp::ParameterValue(1));
  params.declare_parameter("a.d", rclcpp::ParameterValue(1));
  params.declare_parameter("e", rclcpp::ParameterValue(1));
  const auto all = params.list_parameters({}, 0);
  EXPECT_EQ(all.names, (std::vector<std::string>{"a.b.c", "a.d", "e"}));
  EXPECT_EQ(all.prefixes, (std::vector<std::string>{"a.b", "a"}));
  EXPECT_EQ(params.list_parameters({"a"}, 0).names, (std::vector<std::string>{"a.b.c", "a.d"}));
  std::map<std::string, rclcpp::Parameter> by_prefix;
  EXPECT_TRUE(params.get_parameters_by_prefix("a", by_prefix));
  EXPECT_EQ(by_prefix.count("b.c"), 1u);
}

TEST_F(NodeParametersTest, EmptyArrayInAParamsFileFailsTheNodeItApplies)
{
  ParamsFile file("/**:\n  ros__parameters:\n    filters: []\n");
  init({"--ros-args", "--params-file", file.path()});
  EXPECT_THROW(make_node(), rclcpp::exceptions::InvalidParameterValueException);
}
