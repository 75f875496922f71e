#include <process.h>

#include <utility>

#include "platform/win32/win32_platform.h"

namespace tovrel::platform {

Win32BackgroundWork::~Win32BackgroundWork() {
  try {
    Wait();
  } catch (...) {
    // Nobody is left to tell: the work's result is not needed any more.
  }
}

void Win32BackgroundWork::Start(std::function<void()> work) {
  Wait();
  work_ = std::move(work);
  const std::uintptr_t thread = _beginthreadex(nullptr, 0, &Win32BackgroundWork::Run, this, 0, nullptr);
  // Without a thread of its own, the work is done here and now.
  if (thread == 0) {
    Run(this);
    return;
  }
  thread_.reset(reinterpret_cast<HANDLE>(thread));
}

void Win32BackgroundWork::Wait() {
  if (thread_) {
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
  }
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

unsigned __stdcall Win32BackgroundWork::Run(void* self) {
  auto& background = *static_cast<Win32BackgroundWork*>(self);
  try {
    background.work_();
  } catch (...) {
    background.failure_ = std::current_exception();
  }
  background.work_ = nullptr;
  return 0;
}

}  // namespace tovrel::platform
