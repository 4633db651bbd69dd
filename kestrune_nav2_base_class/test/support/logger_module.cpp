// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// Built twice: once linked into the probe, once as a library the probe loads
// with dlopen. Both copies include the header-only logger on their own.

#include "logger_module.hpp"

#include "kestrune_nav2_base_class/logger.hpp"

namespace kestrune_test_module
{

const void * LogFromModule(const char * text)
{
  KESTRUNE_LOG_INFO("{}", text);
  return &kestrune::Logger::Instance();
}

}  // namespace kestrune_test_module

extern "C" const void * kestrune_test_plugin_log(const char * text)
{
  return kestrune_test_module::LogFromModule(text);
}
