# Plugin descriptions in an ament resource index, without ament.
#
# pluginlib::ClassLoader finds plugins only through the ament index of the prefixes listed in
# AMENT_PREFIX_PATH, as upstream does. Upstream's pluginlib_export_plugin_description_file()
# feeds that index at install time through ament_package(); stand-in builds have no ament, so
# these functions lay the same files out themselves, in a build-tree prefix (usable before
# installing: point AMENT_PREFIX_PATH at it) and, through install() rules, in the install prefix.
#
# A prefix then holds, for exporting package <pkg>, base package <category> and file <xml>:
#   share/ament_index/resource_index/packages/<pkg>                          (empty marker)
#   share/ament_index/resource_index/<category>__pluginlib__plugin/<pkg>     ("share/<pkg>/<xml>")
#   share/<pkg>/<xml>
#   share/<pkg>/package.xml          (its <name> tells pluginlib which package exports the XML)
#   lib/lib<library>.so              (where pluginlib looks for the XML's <library path=...>)
#
# standin_register_package(PACKAGE <pkg> [PREFIX <dir>] [PACKAGE_XML <file>] [NO_INSTALL])
#   Registers <pkg> in the index. A loader's own base package must be registered this way too,
#   or the ClassLoader constructor throws "package '<pkg>' not found".
#
# standin_register_plugin_description(PACKAGE <pkg> CATEGORY <base_pkg> XML <file>
#     [LIBRARY_TARGET <target>...] [PREFIX <dir>] [PACKAGE_XML <file>] [NO_INSTALL])
#   Registers <pkg> and exports <file> (relative to the current source dir, whose relative path
#   is kept under share/<pkg>/) for loaders of <base_pkg>. Each LIBRARY_TARGET is built into
#   <prefix>/lib and installed into lib/.
#
# pluginlib_export_plugin_description_file(<plugin_category> <relative_filename>)
#   Upstream's signature, for a project whose project() name is the exporting package. It uses
#   ${PROJECT_SOURCE_DIR}/package.xml when there is one, and builds into the prefix every
#   library target (already defined) that the XML names in a <library path=...>.
#
# PREFIX defaults to ${CMAKE_BINARY_DIR}/ament_prefix. NO_INSTALL skips the install() rules
# (test fixtures).
include_guard(GLOBAL)

# Rewrites a generated file only when its content changes, so rebuilds stay quiet.
function(_standin_write_if_changed path content)
  if(EXISTS "${path}")
    file(READ "${path}" old_content)
    if(old_content STREQUAL content)
      return()
    endif()
  endif()
  file(WRITE "${path}" "${content}")
endfunction()

# Install rules must be added once per destination file, however often a package is named.
function(_standin_first_time key out_var)
  string(MAKE_C_IDENTIFIER "_standin_seen_${key}" property)
  get_property(seen GLOBAL PROPERTY ${property})
  set_property(GLOBAL PROPERTY ${property} TRUE)
  if(seen)
    set(${out_var} FALSE PARENT_SCOPE)
  else()
    set(${out_var} TRUE PARENT_SCOPE)
  endif()
endfunction()

function(standin_register_package)
  cmake_parse_arguments(ARG "NO_INSTALL" "PACKAGE;PREFIX;PACKAGE_XML" "" ${ARGN})
  set(index_dir "share/ament_index/resource_index")
  if(NOT ARG_PACKAGE)
    message(FATAL_ERROR "standin_register_package(): PACKAGE is required")
  endif()
  if(NOT ARG_PREFIX)
    set(ARG_PREFIX "${CMAKE_BINARY_DIR}/ament_prefix")
  endif()
  set(marker "${ARG_PREFIX}/${index_dir}/packages/${ARG_PACKAGE}")
  set(package_xml "${ARG_PREFIX}/share/${ARG_PACKAGE}/package.xml")

  _standin_write_if_changed("${marker}" "")
  if(ARG_PACKAGE_XML)
    get_filename_component(source_xml "${ARG_PACKAGE_XML}" ABSOLUTE)
    configure_file("${source_xml}" "${package_xml}" COPYONLY)
  else()
    _standin_write_if_changed("${package_xml}"
      "<?xml version=\"1.0\"?>\n<package format=\"3\">\n  <name>${ARG_PACKAGE}</name>\n</package>\n")
  endif()

  _standin_first_time("package_${ARG_PACKAGE}" first)
  if(NOT ARG_NO_INSTALL AND first)
    install(FILES "${marker}" DESTINATION "${index_dir}/packages")
    install(FILES "${package_xml}" DESTINATION "share/${ARG_PACKAGE}")
  endif()
endfunction()

function(standin_register_plugin_description)
  cmake_parse_arguments(ARG "NO_INSTALL" "PACKAGE;CATEGORY;XML;PREFIX;PACKAGE_XML"
                        "LIBRARY_TARGET" ${ARGN})
  set(index_dir "share/ament_index/resource_index")
  foreach(required PACKAGE CATEGORY XML)
    if(NOT ARG_${required})
      message(FATAL_ERROR "standin_register_plugin_description(): ${required} is required")
    endif()
  endforeach()
  if(NOT ARG_PREFIX)
    set(ARG_PREFIX "${CMAKE_BINARY_DIR}/ament_prefix")
  endif()
  set(no_install)
  if(ARG_NO_INSTALL)
    set(no_install NO_INSTALL)
  endif()
  set(package_xml)
  if(ARG_PACKAGE_XML)
    set(package_xml PACKAGE_XML "${ARG_PACKAGE_XML}")
  endif()

  # Upstream keeps the file's path relative to the package source dir under share/<pkg>/.
  if(IS_ABSOLUTE "${ARG_XML}")
    set(abs_xml "${ARG_XML}")
    get_filename_component(rel_xml "${ARG_XML}" NAME)
  else()
    set(abs_xml "${CMAKE_CURRENT_SOURCE_DIR}/${ARG_XML}")
    set(rel_xml "${ARG_XML}")
  endif()
  if(NOT EXISTS "${abs_xml}")
    message(FATAL_ERROR
      "standin_register_plugin_description(): the plugin description file '${ARG_XML}' does not exist")
  endif()
  get_filename_component(rel_dir "${rel_xml}" DIRECTORY)

  standin_register_package(PACKAGE ${ARG_PACKAGE} PREFIX "${ARG_PREFIX}" ${package_xml} ${no_install})
  configure_file("${abs_xml}" "${ARG_PREFIX}/share/${ARG_PACKAGE}/${rel_xml}" COPYONLY)

  # One resource file per exporting package and category, one XML path per line.
  set(resource_type "${ARG_CATEGORY}__pluginlib__plugin")
  string(MAKE_C_IDENTIFIER "_standin_xmls_${ARG_PREFIX}_${resource_type}_${ARG_PACKAGE}" lines_property)
  set_property(GLOBAL APPEND PROPERTY ${lines_property} "share/${ARG_PACKAGE}/${rel_xml}")
  get_property(lines GLOBAL PROPERTY ${lines_property})
  list(REMOVE_DUPLICATES lines)
  string(JOIN "\n" content ${lines})
  set(resource "${ARG_PREFIX}/${index_dir}/${resource_type}/${ARG_PACKAGE}")
  _standin_write_if_changed("${resource}" "${content}")

  foreach(target ${ARG_LIBRARY_TARGET})
    # The generator expression stops multi-config generators from adding a per-config
    # subdirectory, which pluginlib would not search.
    set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY "$<1:${ARG_PREFIX}/lib>")
  endforeach()

  if(NOT ARG_NO_INSTALL)
    _standin_first_time("xml_${ARG_PACKAGE}_${rel_xml}" first_xml)
    if(first_xml)
      install(FILES "${abs_xml}" DESTINATION "share/${ARG_PACKAGE}/${rel_dir}")
    endif()
    # Installed from the build-tree copy, which holds every line once configure is done.
    _standin_first_time("resource_${resource_type}_${ARG_PACKAGE}" first_resource)
    if(first_resource)
      install(FILES "${resource}" DESTINATION "${index_dir}/${resource_type}")
    endif()
    foreach(target ${ARG_LIBRARY_TARGET})
      _standin_first_time("target_${target}" first_target)
      if(first_target)
        install(TARGETS ${target} LIBRARY DESTINATION lib)
      endif()
    endforeach()
  endif()
endfunction()

macro(pluginlib_export_plugin_description_file plugin_category relative_filename)
  if(NOT PROJECT_NAME)
    message(FATAL_ERROR "pluginlib_export_plugin_description_file() must be called after project()")
  endif()
  set(_standin_xml "${relative_filename}")
  if(NOT IS_ABSOLUTE "${_standin_xml}")
    set(_standin_xml "${CMAKE_CURRENT_SOURCE_DIR}/${_standin_xml}")
  endif()
  set(_standin_targets)
  if(EXISTS "${_standin_xml}")
    file(STRINGS "${_standin_xml}" _standin_library_lines REGEX "<library[ \t][^>]*path=\"[^\"]+\"")
    foreach(_standin_line ${_standin_library_lines})
      string(REGEX REPLACE ".*path=\"([^\"]+)\".*" "\\1" _standin_library "${_standin_line}")
      if(TARGET ${_standin_library})
        list(APPEND _standin_targets ${_standin_library})
      endif()
    endforeach()
  endif()
  set(_standin_package_xml)
  if(EXISTS "${PROJECT_SOURCE_DIR}/package.xml")
    set(_standin_package_xml PACKAGE_XML "${PROJECT_SOURCE_DIR}/package.xml")
  endif()
  standin_register_plugin_description(PACKAGE ${PROJECT_NAME} CATEGORY ${plugin_category}
    XML "${relative_filename}" LIBRARY_TARGET ${_standin_targets} ${_standin_package_xml})
endmacro()
