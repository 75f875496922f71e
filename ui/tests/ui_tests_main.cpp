// The window tests' entry point. --system-dpi=N or --system-metrics-dpi=N say at which DPI
// the test runner started this run (the system DPI is taken when a desktop or a process
// starts, so it cannot change inside one run); the tests then check that they got it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "ui/tests/ui_test_support.h"

namespace {

UINT FlagValue(int argc, char** argv, const char* flag) {
  const size_t length = std::strlen(flag);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], flag, length) == 0) {
      return static_cast<UINT>(std::strtoul(argv[i] + length, nullptr, 10));
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  tovrel::ui::test::RequestedDpi requested;
  if (UINT dpi = FlagValue(argc, argv, "--system-dpi=")) {
    requested = {dpi, true};
  } else if (UINT metricsDpi = FlagValue(argc, argv, "--system-metrics-dpi=")) {
    requested = {metricsDpi, false};
  }
  tovrel::ui::test::SetRequestedSystemDpi(requested);
  return RUN_ALL_TESTS();
}
