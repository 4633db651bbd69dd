// pluginlib / class_loader / ament_index_cpp stand-in: discovery through the ament index, the
// loader's deleter, and the exact exception types and texts upstream produces.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "pluginlib/class_loader.hpp"
#include "pluginlib/exceptions.hpp"
#include "shape.hpp"

namespace
{

using standin_test_base::Shape;
using ShapeLoader = pluginlib::ClassLoader<Shape>;

const char kBaseClass[] = "standin_test_base::Shape";
const std::string kPrefix = STANDIN_TEST_AMENT_PREFIX;
const std::string kXmlDir = STANDIN_TEST_XML_DIR;

// The what() of the Exception that f throws; any other exception fails the test.
template<typename Exception, typename F>
std::string whatOf(F && f)
{
  try {
    f();
  } catch (const Exception & e) {
    return e.what();
  }
  ADD_FAILURE() << "no exception thrown";
  return "";
}

class Pluginlib : public ::testing::Test
{
protected:
  void SetUp() override
  {
    const char * previous = std::getenv("AMENT_PREFIX_PATH");
    had_previous_ = previous != nullptr;
    previous_ = previous ? previous : "";
    setenv("AMENT_PREFIX_PATH", kPrefix.c_str(), 1);
  }

  void TearDown() override
  {
    if (had_previous_) {
      setenv("AMENT_PREFIX_PATH", previous_.c_str(), 1);
    } else {
      unsetenv("AMENT_PREFIX_PATH");
    }
  }

private:
  bool had_previous_ = false;
  std::string previous_;
};

TEST_F(Pluginlib, CreatesPluginsDeclaredThroughTheAmentIndex)
{
  ShapeLoader loader("standin_test_base", kBaseClass);

  // Sorted lookup names; a class without a name attribute is looked up by its type, and a
  // class of another base class is not offered.
  EXPECT_EQ(
    loader.getDeclaredClasses(), (std::vector<std::string>{
                                   "standin_test_plugins/Square", "standin_test_plugins/Triangle",
                                   "standin_test_plugins::Hexagon"}));
  EXPECT_FALSE(loader.isClassAvailable("standin_test_plugins/Circle"));
  EXPECT_EQ(
    loader.getPluginXmlPaths(),
    std::vector<std::string>{kPrefix + "/share/standin_test_plugins/pluginlib/shapes.xml"});

  EXPECT_FALSE(loader.isClassLoaded("standin_test_plugins/Square"));
  pluginlib::UniquePtr<Shape> square = loader.createUniqueInstance("standin_test_plugins/Square");
  ASSERT_NE(square, nullptr);
  EXPECT_EQ(square->name(), "square");
  EXPECT_TRUE(loader.isClassLoaded("standin_test_plugins/Square"));

  const std::string library = kPrefix + "/lib/libstandin_test_plugins.so";
  EXPECT_EQ(loader.getClassLibraryPath("standin_test_plugins/Square"), library);
  EXPECT_EQ(loader.getRegisteredLibraries(), std::vector<std::string>{library});
  EXPECT_EQ(loader.getClassType("standin_test_plugins/Square"), "standin_test_plugins::Square");
  EXPECT_EQ(loader.getClassPackage("standin_test_plugins/Square"), "standin_test_plugins");
  EXPECT_EQ(loader.getClassDescription("standin_test_plugins/Square"), "Four sides.");
  EXPECT_EQ(loader.getName("standin_test_plugins/Square"), "Square");
  EXPECT_EQ(loader.getName("standin_test_plugins::Hexagon"), "Hexagon");
  EXPECT_EQ(loader.getBaseClassType(), kBaseClass);

  EXPECT_EQ(loader.createSharedInstance("standin_test_plugins::Hexagon")->name(), "hexagon");
  std::unique_ptr<Shape> triangle(loader.createUnmanagedInstance("standin_test_plugins/Triangle"));
  EXPECT_EQ(triangle->name(), "triangle");
}

TEST_F(Pluginlib, UniqueInstanceIsDeletedThroughTheLoadersDeleter)
{
  static_assert(
    std::is_same<
      pluginlib::UniquePtr<Shape>, std::unique_ptr<Shape, std::function<void(Shape *)>>>::value,
    "pluginlib::UniquePtr carries a std::function deleter");
  ShapeLoader loader("standin_test_base", kBaseClass);

  bool square_destroyed = false;
  pluginlib::UniquePtr<Shape> square = loader.createUniqueInstance("standin_test_plugins/Square");
  square->reportDestructionTo(&square_destroyed);
  ASSERT_TRUE(static_cast<bool>(square.get_deleter()));
  square.reset();
  EXPECT_TRUE(square_destroyed);

  // Turned into a shared pointer, as Costmap2DROS does with its layers, it keeps that deleter.
  bool triangle_destroyed = false;
  std::shared_ptr<Shape> triangle = loader.createUniqueInstance("standin_test_plugins/Triangle");
  triangle->reportDestructionTo(&triangle_destroyed);
  triangle.reset();
  EXPECT_TRUE(triangle_destroyed);
}

TEST_F(Pluginlib, ObjectOutlivingItsLoaderWarnsAndCanStillBeDeleted)
{
  auto loader = std::make_unique<ShapeLoader>("standin_test_base", kBaseClass);
  bool destroyed = false;
  pluginlib::UniquePtr<Shape> square = loader->createUniqueInstance("standin_test_plugins/Square");
  square->reportDestructionTo(&destroyed);

  testing::internal::CaptureStderr();
  loader.reset();
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(
    log.find(
      "class_loader.ClassLoader: SEVERE WARNING!!! Attempting to unload library while objects "
      "created by this loader exist in the heap!"),
    std::string::npos)
    << log;

  EXPECT_EQ(square->name(), "square");
  square.reset();
  EXPECT_TRUE(destroyed);
}

TEST_F(Pluginlib, DeleterIgnoresNullAndKeepsCountingLiveObjects)
{
  auto loader = std::make_unique<ShapeLoader>("standin_test_base", kBaseClass);
  pluginlib::UniquePtr<Shape> square = loader->createUniqueInstance("standin_test_plugins/Square");
  square.get_deleter()(nullptr);

  // Had the null call been counted, the loader would think nothing of its own still lives.
  testing::internal::CaptureStderr();
  loader.reset();
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("SEVERE WARNING!!!"), std::string::npos) << log;
  square.reset();
}

TEST_F(Pluginlib, LoaderOutlivingItsObjectsLeavesTheLibraryUsableByLaterLoaders)
{
  auto first = std::make_unique<ShapeLoader>("standin_test_base", kBaseClass);
  first->createUniqueInstance("standin_test_plugins/Square").reset();
  testing::internal::CaptureStderr();
  first.reset();
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(log.find("SEVERE WARNING!!!"), std::string::npos) << log;

  ShapeLoader second("standin_test_base", kBaseClass);
  EXPECT_FALSE(second.isClassLoaded("standin_test_plugins/Square"));
  EXPECT_EQ(second.createUniqueInstance("standin_test_plugins/Square")->name(), "square");
}

TEST_F(Pluginlib, UnknownLookupNameIsALibraryLoadExceptionListingTheDeclaredTypes)
{
  ShapeLoader loader("standin_test_base", kBaseClass);
  // Every declared name is preceded by a space: two spaces after "are".
  const std::string expected =
    "According to the loaded plugin descriptions the class standin_test_plugins/Pentagon with "
    "base class type standin_test_base::Shape does not exist. Declared types are  "
    "standin_test_plugins/Square standin_test_plugins/Triangle standin_test_plugins::Hexagon";

  EXPECT_EQ(
    whatOf<pluginlib::LibraryLoadException>(
      [&] { loader.createUniqueInstance("standin_test_plugins/Pentagon"); }),
    expected);
  EXPECT_EQ(
    whatOf<pluginlib::LibraryLoadException>(
      [&] { loader.createSharedInstance("standin_test_plugins/Pentagon"); }),
    expected);
  EXPECT_EQ(
    whatOf<pluginlib::LibraryLoadException>(
      [&] { loader.createUnmanagedInstance("standin_test_plugins/Pentagon"); }),
    expected);
}

TEST_F(Pluginlib, UnknownLookupNameWithNothingDeclaredEndsInASpace)
{
  ShapeLoader loader("standin_test_base", "standin_test_base::Nothing");
  EXPECT_EQ(
    whatOf<pluginlib::LibraryLoadException>([&] { loader.createUniqueInstance("any/Thing"); }),
    "According to the loaded plugin descriptions the class any/Thing with base class type "
    "standin_test_base::Nothing does not exist. Declared types are ");
}

TEST_F(Pluginlib, MissingPackageIsAClassLoaderExceptionNamingTheExistingPrefixes)
{
  const std::string empty_prefix = STANDIN_TEST_EMPTY_AMENT_PREFIX;
  const std::string path = kPrefix + ":" + empty_prefix + "::/no/such/prefix";
  setenv("AMENT_PREFIX_PATH", path.c_str(), 1);
  EXPECT_EQ(
    whatOf<pluginlib::ClassLoaderException>([] { ShapeLoader("no_such_package", kBaseClass); }),
    "package 'no_such_package' not found, searching: [" + kPrefix + ", " + empty_prefix + "]");
}

TEST_F(Pluginlib, UnsetOrEmptyAmentPrefixPathEscapesAsAPlainRuntimeError)
{
  for (const bool set_but_empty : {false, true}) {
    if (set_but_empty) {
      setenv("AMENT_PREFIX_PATH", "", 1);
    } else {
      unsetenv("AMENT_PREFIX_PATH");
    }
    try {
      ShapeLoader loader("standin_test_base", kBaseClass);
      ADD_FAILURE() << "no exception thrown";
    } catch (const pluginlib::PluginlibException & e) {
      ADD_FAILURE() << "wrapped in a pluginlib exception: " << e.what();
    } catch (const std::runtime_error & e) {
      EXPECT_STREQ(e.what(), "Environment variable 'AMENT_PREFIX_PATH' is not set or empty");
    }
  }
}

TEST_F(Pluginlib, LibraryMissingOnDiskIsALibraryLoadException)
{
  ShapeLoader loader("standin_test_faulty", kBaseClass);
  EXPECT_EQ(loader.getClassLibraryPath("faulty/Missing"), "");
  EXPECT_EQ(
    whatOf<pluginlib::LibraryLoadException>([&] { loader.createUniqueInstance("faulty/Missing"); }),
    "Could not find library corresponding to plugin faulty/Missing. Make sure that the library "
    "'standin_test_missing' actually exists.");
}

TEST_F(Pluginlib, LibraryThatCannotBeOpenedIsALibraryLoadException)
{
  ShapeLoader loader("standin_test_faulty", kBaseClass);
  const std::string what =
    whatOf<pluginlib::LibraryLoadException>([&] { loader.createUniqueInstance("faulty/Broken"); });
  const std::string head =
    "Failed to load library " + kPrefix +
    "/lib/libstandin_test_broken.so. Make sure that you "
    "are calling the PLUGINLIB_EXPORT_CLASS macro in the library code, and that names are "
    "consistent between this macro and your XML. Error string: ";
  EXPECT_EQ(what.substr(0, head.size()), head);
  EXPECT_NE(what.find("libstandin_test_broken.so", head.size()), std::string::npos) << what;
}

TEST_F(Pluginlib, ClassItsLibraryDoesNotRegisterIsACreateClassException)
{
  ShapeLoader loader("standin_test_faulty", kBaseClass);
  const std::string what = whatOf<pluginlib::CreateClassException>(
    [&] { loader.createUniqueInstance("faulty/Unregistered"); });
  const std::string head =
    "MultiLibraryClassLoader: Could not create object of class type "
    "standin_test_plugins::Unregistered as no factory exists for it.";
  EXPECT_EQ(what.substr(0, head.size()), head);
}

TEST_F(Pluginlib, ClassTagWithoutTypeOrBaseClassTypeIsAClassLoaderException)
{
  EXPECT_EQ(
    whatOf<pluginlib::ClassLoaderException>([] {
      ShapeLoader("standin_test_base", kBaseClass, "plugin", {kXmlDir + "/missing_type.xml"});
    }),
    "Class could not be loaded. Attribute 'type' in class tag is missing.");
  EXPECT_EQ(
    whatOf<pluginlib::ClassLoaderException>([] {
      ShapeLoader(
        "standin_test_base", kBaseClass, "plugin", {kXmlDir + "/missing_base_class_type.xml"});
    }),
    "Class could not be loaded. Attribute 'base_class_type' in class tag is missing.");
}

TEST_F(Pluginlib, DescriptionWithAnotherRootIsSkippedWithAnError)
{
  testing::internal::CaptureStderr();
  ShapeLoader loader(
    "standin_test_base", kBaseClass, "plugin",
    {kXmlDir + "/bad_root.xml", kPrefix + "/share/standin_test_plugins/pluginlib/shapes.xml"});
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("[ERROR] [", 0), std::string::npos) << log;
  EXPECT_NE(
    log.find(
      "[pluginlib.ClassLoader]: Skipped loading plugin with error: The XML document '" + kXmlDir +
      "/bad_root.xml' given to add must have either \"library\" or "
      "\"class_libraries\" as the root tag."),
    std::string::npos)
    << log;
  EXPECT_EQ(loader.getDeclaredClasses().size(), 3u);
}

}  // namespace
