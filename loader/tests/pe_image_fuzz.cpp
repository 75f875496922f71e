// libFuzzer over the reader: any bytes at all must give an answer, never a crash, a read
// outside them or a long walk. Seed a corpus folder with copies of the fixtures:
//   tovrel_pe_image_fuzz -max_total_time=60 CORPUS
#include <cstddef>
#include <cstdint>

#include "loader/pe_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tovrel::loader::PeImage image = tovrel::loader::ReadPeImage(data, size);
  // An answer is either a program or a reason why not.
  if (image.IsProgram() == !image.problem.empty()) __builtin_trap();
  return 0;
}
