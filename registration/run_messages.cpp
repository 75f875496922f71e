#include "registration/run_messages.h"

namespace tovrel::registration {

namespace {

using platform::MessageIcon;

constexpr wchar_t kStopTitle[] = L"Aviso al operador!!!";
constexpr wchar_t kComponentTitle[] = L"Aviso al operador";
constexpr wchar_t kEndTitle[] = L"Atención";
constexpr wchar_t kArchivoPrefix[] = L"El Archivo que intenta registrar (";
constexpr wchar_t kNotFoundSuffix[] = L" no se encuentra en la ubicacion especificada!!!";

}  // namespace

OperatorMessage RegistrarMissingMessage(const std::wstring& appPath) {
  return {L"No se encuentra el Archivo regsvr32.exe, el mismo debe estar en el mismo directorio "
          L"de la aplicacion (" + appPath + L")",
          kStopTitle, MessageIcon::Critical};
}

OperatorMessage MissingComponentMessage(const std::wstring& component) {
  return {kArchivoPrefix + (L" " + component + L" )") + kNotFoundSuffix, kComponentTitle,
          MessageIcon::Critical};
}

OperatorMessage FolderRequiredMessage(const std::wstring& component) {
  return {kArchivoPrefix + (L" " + component + L" ) debe tener especificada la ubicacion !!!"),
          kComponentTitle, MessageIcon::Critical};
}

OperatorMessage MissingInAppFolderMessage(const std::wstring& appPath, const std::wstring& component) {
  return {kArchivoPrefix + appPath + component + L")" + kNotFoundSuffix, kComponentTitle,
          MessageIcon::Critical};
}

OperatorMessage DefinitionErrorMessage() {
  return {L"Error en la definicion del archivo de Registro", kStopTitle, MessageIcon::Critical};
}

OperatorMessage ClosingMessage() { return {L"Finalizado", kEndTitle, MessageIcon::Information}; }

OperatorMessage ListUnreadableMessage(const std::wstring& listPath, const std::wstring& description) {
  return {L"No se puede leer el archivo de componentes (" + listPath + L"): " + description, kStopTitle,
          MessageIcon::Critical};
}

OperatorMessage LinesPassedOverMessage(const std::wstring& listFile, unsigned long badLines,
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

void Show(platform::MainWindow& window, const OperatorMessage& message) {
  window.ShowMessage(message.text, message.title, message.icon);
}

}  // namespace tovrel::registration
