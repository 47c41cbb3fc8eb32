// The float overloads that charconv/charconv declares for the web build.
#include <charconv>

#include "sim/web/float_chars.h"

namespace std {

to_chars_result to_chars(char* first, char* last, float value) { return sim::FloatToChars(first, last, value); }

to_chars_result to_chars(char* first, char* last, double value, chars_format format, int precision) {
  return sim::FloatToChars(first, last, value, format, precision);
}

from_chars_result from_chars(const char* first, const char* last, float& value, chars_format format) {
  return sim::FloatFromChars(first, last, value, format);
}

}  // namespace std
