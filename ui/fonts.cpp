#include "ui/fonts.h"

#include <cwchar>

namespace tovrel::ui {
namespace {

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one match is enough
}

bool FamilyInstalled(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = GetDC(nullptr);
  if (!screen) return false;
  EnumFontFamiliesExW(screen, &query, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

std::wstring PickFace() {
  static const wchar_t* const kCandidates[] = {L"MS Sans Serif", L"Microsoft Sans Serif", L"Tahoma"};
  for (const wchar_t* face : kCandidates) {
    if (FamilyInstalled(face)) return face;
  }
  return L"Tahoma";  // the font mapper finds the closest face anyway
}

UniqueFont MakeFontOfHeight(const FontSpec& look, int characterHeight) {
  LOGFONTW font{};
  font.lfHeight = -characterHeight;
  font.lfWeight = look.bold ? FW_BOLD : FW_NORMAL;
  font.lfUnderline = look.underline ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  wcsncpy(font.lfFaceName, UiFaceName().c_str(), LF_FACESIZE - 1);
  return UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace

int CharacterHeight(const FontSpec& look, UINT dpi) {
  // Point sizes in hundredths: 8.25 pt at 96 DPI is 11 pixels of character height.
  return MulDiv(look.centipoints, static_cast<int>(dpi), 7200);
}

const std::wstring& UiFaceName() {
  static const std::wstring face = PickFace();
  return face;
}

UniqueFont MakeFont(const FontSpec& look, UINT dpi) {
  return MakeFontOfHeight(look, CharacterHeight(look, dpi));
}

bool CaptionFits(HDC dc, HFONT font, const std::wstring& text, const CaptionBox& box) {
  SelectedObject selected(dc, font);
  // Vertical placement moves a line, it does not size it.
  RECT needed{0, 0, box.size.cx, box.size.cy};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
            (box.format & ~static_cast<UINT>(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
  return needed.right - needed.left <= box.size.cx && needed.bottom - needed.top <= box.size.cy;
}

UniqueFont FitCaptionFont(const FontSpec& look, UINT dpi, const std::wstring& text,
                          const CaptionBox& box) {
  const int specified = CharacterHeight(look, dpi);
  const int floor = (specified * 3 + 3) / 4;  // three quarters, rounded up
  HDC screen = GetDC(nullptr);
  UniqueFont font = MakeFontOfHeight(look, specified);
  for (int height = specified - 1; screen && font && height >= floor; --height) {
    if (CaptionFits(screen, font.get(), text, box)) break;
    font = MakeFontOfHeight(look, height);
  }
  if (screen) ReleaseDC(nullptr, screen);
  return font;
}

}  // namespace tovrel::ui
