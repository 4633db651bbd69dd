// Copyright (c) 2026 Kestrune
// Licensed under the Apache License, Version 2.0

#include "process.hpp"

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

extern char ** environ;

namespace kestrune_test
{
namespace
{

std::vector<std::string> ChildEnvironment(const Environment & settings)
{
  std::vector<std::string> result;
  for (char ** entry = environ; *entry != nullptr; ++entry) {
    const std::string text(*entry);
    const std::string name = text.substr(0, text.find('='));
    if (name.rfind("SPDLOG_", 0) == 0 || settings.count(name) != 0) {
      continue;
    }
    result.push_back(text);
  }
  for (const auto & [name, value] : settings) {
    if (value) {
      result.push_back(name + "=" + *value);
    }
  }
  return result;
}

[[noreturn]] void ExecChild(const std::vector<std::string> & argv, const Environment & settings)
{
  std::vector<std::string> env = ChildEnvironment(settings);
  std::vector<char *> c_argv;
  std::vector<char *> c_env;
  c_argv.reserve(argv.size() + 1);
  c_env.reserve(env.size() + 1);
  for (const auto & arg : argv) {
    c_argv.push_back(const_cast<char *>(arg.c_str()));
  }
  c_argv.push_back(nullptr);
  for (const auto & entry : env) {
    c_env.push_back(const_cast<char *>(entry.c_str()));
  }
  c_env.push_back(nullptr);
  execve(c_argv[0], c_argv.data(), c_env.data());
  _exit(127);
}

std::string ReadAll(int fd)
{
  std::string output;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof(buffer));
    if (n > 0) {
      output.append(buffer, static_cast<size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;  // end of file, or EIO once a pseudo-terminal's child is gone
    }
  }
  return output;
}

int WaitFor(pid_t pid)
{
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      throw std::runtime_error(std::string("waitpid failed: ") + std::strerror(errno));
    }
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string> & argv, const Environment & environment)
{
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) {
    throw std::runtime_error(std::string("pipe failed: ") + std::strerror(errno));
  }
  const pid_t pid = fork();
  if (pid < 0) {
    throw std::runtime_error(std::string("fork failed: ") + std::strerror(errno));
  }
  if (pid == 0) {
    dup2(pipe_fds[1], STDOUT_FILENO);
    close(pipe_fds[0]);
    close(pipe_fds[1]);
    ExecChild(argv, environment);
  }
  close(pipe_fds[1]);
  ProcessResult result;
  result.output = ReadAll(pipe_fds[0]);
  close(pipe_fds[0]);
  result.exit_code = WaitFor(pid);
  return result;
}

ProcessResult RunProcessOnTerminal(
  const std::vector<std::string> & argv, const Environment & environment)
{
  int master_fd = -1;
  const pid_t pid = forkpty(&master_fd, nullptr, nullptr, nullptr);
  if (pid < 0) {
    throw std::runtime_error(std::string("forkpty failed: ") + std::strerror(errno));
  }
  if (pid == 0) {
    ExecChild(argv, environment);
  }
  ProcessResult result;
  result.output = ReadAll(master_fd);
  close(master_fd);
  result.exit_code = WaitFor(pid);
  return result;
}

std::vector<std::string> SplitLines(const std::string & text)
{
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') {
        line.pop_back();
      }
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) {
    lines.push_back(line);
  }
  return lines;
}

}  // namespace kestrune_test
