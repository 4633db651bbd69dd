#ifndef RCUTILS__LOGGING_H_
#define RCUTILS__LOGGING_H_

#ifdef __cplusplus
extern "C" {
#endif

/// @brief Log severities, as rcutils numbers them.
enum RCUTILS_LOG_SEVERITY
{
  RCUTILS_LOG_SEVERITY_UNSET = 0,
  RCUTILS_LOG_SEVERITY_DEBUG = 10,
  RCUTILS_LOG_SEVERITY_INFO = 20,
  RCUTILS_LOG_SEVERITY_WARN = 30,
  RCUTILS_LOG_SEVERITY_ERROR = 40,
  RCUTILS_LOG_SEVERITY_FATAL = 50,
};

#ifdef __cplusplus
}
#endif

#endif  // RCUTILS__LOGGING_H_
