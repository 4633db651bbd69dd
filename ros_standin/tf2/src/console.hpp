#ifndef TF2__CONSOLE_HPP_
#define TF2__CONSOLE_HPP_

// Internal. tf2 reports rejected transforms through console_bridge, whose
// default handler prints warnings and errors to stderr as
// "Warning: <text>" / "Error:   <text>" followed by "         at line <n> in <file>".

namespace tf2
{
namespace detail
{

enum class ConsoleLevel
{
  Warn,
  Error
};

void logToConsole(ConsoleLevel level, const char * file, int line, const char * format, ...)
  __attribute__((format(printf, 4, 5)));

}  // namespace detail
}  // namespace tf2

#define TF2_CONSOLE_WARN(...) \
  ::tf2::detail::logToConsole(::tf2::detail::ConsoleLevel::Warn, __FILE__, __LINE__, __VA_ARGS__)
#define TF2_CONSOLE_ERROR(...) \
  ::tf2::detail::logToConsole(::tf2::detail::ConsoleLevel::Error, __FILE__, __LINE__, __VA_ARGS__)

#endif  // TF2__CONSOLE_HPP_
