#include "catalogue/startup_messages.h"

namespace tovrel::catalogue {

namespace {

using platform::MessageIcon;

constexpr wchar_t kStopTitle[] = L"Aviso al operador!!!";

}  // namespace

platform::OperatorMessage RegistrarMissingMessage(const std::wstring& appPath) {
  return {L"No se encuentra el Archivo regsvr32.exe, el mismo debe estar en el mismo directorio "
          L"de la aplicacion (" + appPath + L")",
          kStopTitle, MessageIcon::Critical};
}

platform::OperatorMessage ListUnreadableMessage(const std::wstring& listPath, const std::wstring& description) {
  return {L"No se puede leer el archivo de componentes (" + listPath + L"): " + description, kStopTitle,
          MessageIcon::Critical};
}

platform::OperatorMessage LinesPassedOverMessage(const std::wstring& listFile, unsigned long badLines,
                                                 unsigned long linesBeyondLimit, int maxEntries) {
  std::wstring text;
  if (badLines > 0) {
    text += L"Se pasaron por alto " + std::to_wstring(badLines) + L" líneas de " + listFile +
            L" que no se pueden leer como componentes; el cuadro de errores las enumera.";
  }
  if (linesBeyondLimit > 0) {
    if (!text.empty()) text += L"\r\n";
    text += L"La lista admite " + std::to_wstring(maxEntries) + L" componentes: se pasaron por alto " +
            std::to_wstring(linesBeyondLimit) + L" líneas de componentes de " + listFile +
            L" que exceden ese límite.";
  }
  return {text, kStopTitle, MessageIcon::Critical};
}

}  // namespace tovrel::catalogue
