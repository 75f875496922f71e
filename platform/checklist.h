#pragma once
// The check-box list of the main window (List1). Indices run from 0 to Count() - 1.
#include <optional>
#include <string>

namespace tovrel::platform {

class Checklist {
 public:
  // The list holds at most this many entries: counts and indices are 16-bit.
  static constexpr int kMaxEntries = 32767;

  virtual ~Checklist() = default;

  virtual void Clear() = 0;
  // Appends an unchecked entry at the end. Throws PlatformError when it cannot.
  virtual void Append(const std::wstring& text) = 0;
  virtual int Count() = 0;
  virtual std::wstring Text(int index) = 0;
  virtual bool Checked(int index) = 0;
  virtual void SetChecked(int index, bool checked) = 0;
  // How many entries are checked, when the list can tell without reading every mark;
  // nothing when it cannot.
  virtual std::optional<int> CheckedCount() { return std::nullopt; }
  // Gives every entry the same mark.
  virtual void SetAllChecked(bool checked) {
    const int count = Count();
    for (int i = 0; i < count; ++i) SetChecked(i, checked);
  }

  // Bracket a bulk fill: the list need not repaint or re-lay itself out per entry.
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}
};

}  // namespace tovrel::platform
