#include "tests/fake/fake_system.h"

#include <algorithm>

#include "platform/platform_error.h"

namespace tovrel::fake {

std::uint32_t FakeFolders::Answer(const std::wstring& folder, wchar_t* buffer, std::uint32_t size) {
  const auto length = static_cast<std::uint32_t>(folder.size());
  if (length + 1 > size) return length + 1;  // nothing copied; the size needed, null included
  std::copy(folder.begin(), folder.end(), buffer);
  buffer[length] = L'\0';
  return length;
}

std::uint32_t FakeFolders::WindowsDirectory(wchar_t* buffer, std::uint32_t size) {
  windowsBufferSizes.push_back(size);
  if (windowsQuery) return windowsQuery(buffer, size);
  return failWindows ? 0 : Answer(windowsDir, buffer, size);
}

std::uint32_t FakeFolders::SystemDirectory(wchar_t* buffer, std::uint32_t size) {
  if (systemQuery) return systemQuery(buffer, size);
  return failSystem ? 0 : Answer(systemDir, buffer, size);
}

void FakeLauncher::Launch(const std::wstring& applicationPath, const std::wstring& commandLine) {
  if (fail) throw platform::PlatformError(L"El sistema no puede encontrar el archivo especificado.");
  launches.push_back({applicationPath, commandLine});
  if (journal) journal->push_back(L"launch " + commandLine);
}

void FakeBackgroundWork::Start(std::function<void()> work) {
  Wait();
  ++started;
  pending_ = std::move(work);
}

void FakeBackgroundWork::Wait() {
  if (!pending_) return;
  // Taken first: the work may throw, and is done once either way.
  std::function<void()> work = std::move(pending_);
  pending_ = nullptr;
  work();
}

}  // namespace tovrel::fake
