#pragma once
// The failing components the host build made (tools/broken_components), by bitness.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace tovrel::loader::testing {

inline const char* const kArches[] = {"i686", "x86_64"};

inline std::vector<std::uint8_t> FixtureBytes(const std::string& arch, const std::string& name) {
  const std::string path = std::string(TOVREL_FIXTURES) + "/" + arch + "/" + name;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("fixture not built: " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tovrel::loader::testing
