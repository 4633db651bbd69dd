#include "console.hpp"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace tf2
{
namespace detail
{

void logToConsole(ConsoleLevel level, const char * file, int line, const char * format, ...)
{
  std::va_list args;
  va_start(args, format);
  std::va_list args_copy;
  va_copy(args_copy, args);
  const int size = std::vsnprintf(nullptr, 0, format, args_copy);
  va_end(args_copy);
  std::string text(size > 0 ? static_cast<std::size_t>(size) + 1 : 1, '\0');
  if (size > 0) {
    std::vsnprintf(&text[0], text.size(), format, args);
  }
  va_end(args);
  text.resize(size > 0 ? static_cast<std::size_t>(size) : 0);

  // One write per message so that lines from concurrent threads do not interleave.
  const std::string out = std::string(level == ConsoleLevel::Error ? "Error:   " : "Warning: ") +
                          text + "\n         at line " + std::to_string(line) + " in " + file +
                          "\n";
  std::fwrite(out.data(), 1, out.size(), stderr);
  std::fflush(stderr);
}

}  // namespace detail
}  // namespace tf2
