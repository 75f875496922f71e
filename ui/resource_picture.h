#pragma once
// Pictures kept as compressed images among the program's resources.
#include <windows.h>

#include "ui/gdi_handles.h"

namespace tovrel::ui {

// Decodes the RCDATA resource `id` (any format the imaging component reads, here JPEG) into
// a 32-bit DIB section. Null when the resource is missing or cannot be decoded; the caller
// then shows no picture. Needs COM initialised on the calling thread.
UniqueBitmap LoadResourcePicture(int id);

}  // namespace tovrel::ui
