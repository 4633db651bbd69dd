// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_EXAMPLE_LAYERS__MAP_FILE_PATH_HPP_
#define KESTRUNE_EXAMPLE_LAYERS__MAP_FILE_PATH_HPP_

#include <string>

namespace kestrune_example_layers
{

/**
 * @brief Where a map file parameter points.
 *
 * - an absolute path is used as it is;
 * - "package://<package>/<path>" is <path> inside the package's share folder, found
 *   through the ament index (so one parameter file works from a build tree and from an
 *   install tree alike);
 * - any other path is relative to the working folder, as map_server takes it.
 *
 * @param parameter the parameter's full name, for error messages
 * @param value the parameter's value
 * @throws std::invalid_argument when the value is empty, or names a package that is
 *   not installed
 */
std::string resolveMapFile(const std::string & parameter, const std::string & value);

}  // namespace kestrune_example_layers

#endif  // KESTRUNE_EXAMPLE_LAYERS__MAP_FILE_PATH_HPP_
