#pragma once
// Conversions between the program's UTF-8 text and the GBK bytes of files and widths.

#include <string>

// UTF-8 to GBK. Characters GBK cannot hold become '?'.
std::string Utf8ToGbk(const std::string& utf8);

// GBK to UTF-8. Bytes that are not valid GBK become '?'.
std::string GbkToUtf8(const std::string& gbk);

// Length of the text in GBK bytes: the width the program counts in.
size_t GbkLength(const std::string& utf8);
