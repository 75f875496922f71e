#include "ui/unexpected_failure.h"

#include <exception>
#include <string>

#include "platform/platform_error.h"

namespace tovrel::ui {

void ReportUnexpectedFailure(HWND owner) noexcept {
  try {
    std::wstring text;
    try {
      throw;
    } catch (const platform::PlatformError& error) {
      text = error.Description();
    } catch (const std::bad_alloc&) {
      text = L"Memoria insuficiente.";
    } catch (...) {
      text = L"Error inesperado.";
    }
    MessageBoxW(owner, text.c_str(), L"Tovrel", MB_OK | MB_ICONERROR);
  } catch (...) {
    // Nothing more can be done without risking the window procedure.
  }
}

}  // namespace tovrel::ui
