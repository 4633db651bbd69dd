# kestrune_plugin_prefix(<target> PACKAGE <name> XML <file> PREFIX <folder>)
#
# Builds the layer library <target> into <folder>/lib and registers its plugin
# description there as pluginlib reads an install: the package in the ament
# index, the description under nav2_costmap_2d's plugin resource, and beside it
# the package.xml that pluginlib reads the package's name from. Tests and
# benchmarks put <folder> on AMENT_PREFIX_PATH and load the layers by name, as a
# host loads its own. Nothing of it is installed.
function(kestrune_plugin_prefix target)
  cmake_parse_arguments(ARG "" "PACKAGE;XML;PREFIX" "" ${ARGN})
  set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY "${ARG_PREFIX}/lib")
  set(index "${ARG_PREFIX}/share/ament_index/resource_index")
  file(WRITE "${index}/packages/${ARG_PACKAGE}" "")
  get_filename_component(xml_name "${ARG_XML}" NAME)
  file(WRITE "${index}/nav2_costmap_2d__pluginlib__plugin/${ARG_PACKAGE}"
    "share/${ARG_PACKAGE}/${xml_name}")
  configure_file("${ARG_XML}" "${ARG_PREFIX}/share/${ARG_PACKAGE}/${xml_name}" COPYONLY)
  file(WRITE "${ARG_PREFIX}/share/${ARG_PACKAGE}/package.xml"
    "<package format=\"3\"><name>${ARG_PACKAGE}</name></package>\n")
endfunction()
