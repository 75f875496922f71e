// Prints what the reader finds in each file named on the command line, in the form
// pe_oracle.py prints an independent reader's findings, so that the two can be compared.
//   tovrel_pe_dump FILE...
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "loader/pe_image.h"

namespace {

std::string Joined(std::vector<std::string> names, bool sort) {
  if (sort) std::sort(names.begin(), names.end());
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ",") + name;
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tovrel::loader;
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "cannot read %s\n", argv[i]);
      return 2;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const PeImage image = ReadPeImage(bytes);
    std::printf("file: %s\nprogram: %s\n", argv[i], image.IsProgram() ? "yes" : "no");
    if (!image.IsProgram()) continue;
    std::string version = "none";
    if (image.fileVersion) {
      const auto& p = image.fileVersion->parts;
      version = std::to_string(p[0]) + "." + std::to_string(p[1]) + "." + std::to_string(p[2]) + "." +
                std::to_string(p[3]);
    }
    std::printf("machine: 0x%x\npe32+: %s\ndll: %s\nexports: %s\nimports: %s\ndelay: %s\nversion: %s\n",
                image.machine, image.pe32Plus ? "yes" : "no", image.isDll ? "yes" : "no",
                Joined(image.exports, true).c_str(), Joined(image.imports, false).c_str(),
                Joined(image.delayImports, false).c_str(), version.c_str());
  }
  return 0;
}
