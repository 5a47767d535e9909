#pragma once
// printf-style formatting into a std::string.

#include <string>

#if defined(__GNUC__)
#define KVT_PRINTF_LIKE(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define KVT_PRINTF_LIKE(fmt, args)
#endif

std::string StrFormat(const char* format, ...) KVT_PRINTF_LIKE(1, 2);
void AppendFormat(std::string& out, const char* format, ...) KVT_PRINTF_LIKE(2, 3);
