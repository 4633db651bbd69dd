# standin_package(<name> [HEADER_ONLY] [DEPENDS <pkg>...] [PRIVATE_LIBS <target>...])
#
# Declares one stand-in package laid out as upstream lays it out:
#   <name>/include/<name>/...   public headers (same paths as upstream)
#   <name>/src/...              sources (any *.cpp below src/ is compiled)
# The target is called <name> (ros_standin::<name> once installed); its shared
# library file is libros_standin_<name>.so so it can never be mistaken for the
# real package's library.
function(standin_package name)
  cmake_parse_arguments(ARG "HEADER_ONLY" "" "DEPENDS;PRIVATE_LIBS;PUBLIC_LIBS" ${ARGN})
  set(pkg_dir "${CMAKE_CURRENT_SOURCE_DIR}/${name}")
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${pkg_dir}/src/*.cpp")

  if(ARG_HEADER_ONLY OR NOT sources)
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  else()
    add_library(${name} SHARED ${sources})
    set(scope PUBLIC)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME "ros_standin_${name}")
    target_include_directories(${name} PRIVATE "${pkg_dir}/src")
    if(ARG_PRIVATE_LIBS)
      target_link_libraries(${name} PRIVATE ${ARG_PRIVATE_LIBS})
    endif()
  endif()

  target_include_directories(${name} ${scope}
    "$<BUILD_INTERFACE:${pkg_dir}/include>"
    "$<INSTALL_INTERFACE:${STANDIN_INSTALL_INCLUDEDIR}>")
  target_compile_features(${name} ${scope} cxx_std_17)
  if(ARG_DEPENDS OR ARG_PUBLIC_LIBS)
    target_link_libraries(${name} ${scope} ${ARG_DEPENDS} ${ARG_PUBLIC_LIBS})
  endif()

  add_library(ros_standin::${name} ALIAS ${name})
  install(TARGETS ${name} EXPORT ros_standinTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  if(EXISTS "${pkg_dir}/include")
    install(DIRECTORY "${pkg_dir}/include/" DESTINATION ${STANDIN_INSTALL_INCLUDEDIR})
  endif()
endfunction()
