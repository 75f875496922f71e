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

}  // namespace tovrel::registration
