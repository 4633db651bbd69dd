// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0
//
// A process that logs what its arguments say, so that each test can run the
// logger under an environment of its own (the environment is read once per
// process). Arguments, in order:
//   i:TEXT / e:TEXT   one info / error line whose message is TEXT (verbatim)
//   lines:N           N info lines "line <k>"
//   threads:T:N       T threads, each logging N info lines "t<thread> n<k>"
//   modules           one line from this program, one from a linked library,
//                     one from a library loaded with dlopen(RTLD_LOCAL); then
//                     prints "same instance" or "different instances"

#include <dlfcn.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "kestrune_nav2_base_class/logger.hpp"
#include "logger_module.hpp"

namespace
{

void LogThreads(int thread_count, int line_count)
{
  std::vector<std::thread> threads;
  threads.reserve(static_cast<std::size_t>(thread_count));
  for (int t = 0; t < thread_count; ++t) {
    threads.emplace_back([t, line_count]() {
      for (int k = 0; k < line_count; ++k) {
        KESTRUNE_LOG_INFO("t{} n{}", t, k);
      }
    });
  }
  for (auto & thread : threads) {
    thread.join();
  }
}

int LogFromModules(const char * dlopen_path)
{
  KESTRUNE_LOG_INFO("from program");
  const void * linked = kestrune_test_module::LogFromModule("from linked module");
  void * handle = dlopen(dlopen_path, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    std::cerr << "dlopen failed: " << dlerror() << "\n";
    return 2;
  }
  using LogFunction = const void * (*)(const char *);
  auto log_from_plugin = reinterpret_cast<LogFunction>(dlsym(handle, "kestrune_test_plugin_log"));
  if (log_from_plugin == nullptr) {
    std::cerr << "dlsym failed\n";
    return 2;
  }
  const void * loaded = log_from_plugin("from loaded module");
  const void * own = &kestrune::Logger::Instance();
  std::cout << ((own == linked && own == loaded) ? "same instance" : "different instances") << "\n";
  return 0;
}

}  // namespace

int main(int argc, char ** argv)
{
  for (int i = 1; i < argc; ++i) {
    const std::string arg(argv[i]);
    if (arg.rfind("i:", 0) == 0) {
      KESTRUNE_LOG_INFO("{}", arg.substr(2));
    } else if (arg.rfind("e:", 0) == 0) {
      KESTRUNE_LOG_ERROR("{}", arg.substr(2));
    } else if (arg.rfind("lines:", 0) == 0) {
      const int count = std::stoi(arg.substr(6));
      for (int k = 1; k <= count; ++k) {
        KESTRUNE_LOG_INFO("line {}", k);
      }
    } else if (arg.rfind("threads:", 0) == 0) {
      const std::string rest = arg.substr(8);
      const auto colon = rest.find(':');
      LogThreads(std::stoi(rest.substr(0, colon)), std::stoi(rest.substr(colon + 1)));
    } else if (arg == "modules") {
      const int status = LogFromModules(KESTRUNE_TEST_PLUGIN_PATH);
      if (status != 0) {
        return status;
      }
    } else {
      std::cerr << "unknown argument: " << arg << "\n";
      return 2;
    }
  }
  return 0;
}
