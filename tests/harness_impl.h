#pragma once
#include <sstream>

namespace harness_detail {
std::istringstream& input_stream();
std::ostringstream& output_stream();
}  // namespace harness_detail

template <typename Fn>
std::string GameTest::run(const std::string& input, Fn&& fn) {
  attach(input);
  fn();
  return detach();
}
