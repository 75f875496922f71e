#pragma once
// Work done beside the window's thread, which waits for it only when it needs its result.
#include <functional>

namespace tovrel::platform {

class BackgroundWork {
 public:
  virtual ~BackgroundWork() = default;
  // Starts `work`, once the work started before it is done.
  virtual void Start(std::function<void()> work) = 0;
  // Returns once the work started last is done, at once when there is none; rethrows, once,
  // what that work threw.
  virtual void Wait() = 0;
};

}  // namespace tovrel::platform
