// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#ifndef KESTRUNE_TEST_SUPPORT__LOGGER_MODULE_HPP_
#define KESTRUNE_TEST_SUPPORT__LOGGER_MODULE_HPP_

namespace kestrune_test_module
{

/// Logs @p text through the logger from inside a separate shared library and
/// returns the address of the instance that library sees.
const void * LogFromModule(const char * text);

}  // namespace kestrune_test_module

extern "C" __attribute__((visibility("default"))) const void * kestrune_test_plugin_log(
  const char * text);

#endif  // KESTRUNE_TEST_SUPPORT__LOGGER_MODULE_HPP_
