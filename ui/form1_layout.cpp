#include "ui/form1_layout.h"

#include "ui/control_ids.h"

namespace tovrel::ui {

using K = Form1ControlKind;

// Frame1 stands at (5640, 480); Label2 at (120, 480) inside it.
const std::array<Form1Control, 12> kForm1Controls = {{
    {L"List1", K::CheckList, kList1, L"", 0, 360, 5415, 3660},
    {L"CmdRegistrar", K::Button, kCmdRegistrar, L"Registrar", 5640, 3120, 2055, 375},
    {L"CmdSalir", K::Button, kCmdSalir, L"Salir", 5640, 3960, 2055, 375},
    {L"Frame1", K::Panel, kFrame1, L"", 5640, 480, 2055, 2175},
    {L"Label1", K::Heading, kLabel1, L"   Se han Detectado los Siguientes Archivos para Registrar",
     0, 0, 7815, 375},
    {L"Label2", K::PanelText, kLabel2,
     L"Este Programa le ayudará a registrar manualmente las librerías, Controles, Recursos, etc. "
     L"de los sistemas desarrollados por Quirval Soluciones Dediduraduvi",
     5640 + 120, 480 + 480, 1815, 1455},
    {L"CmdMarcar", K::Button, kCmdMarcar, L"Marcar/Desmarcar", 120, 4080, 2055, 255},
    {L"ChkMostrar", K::CheckBox, kChkMostrar, L"Mostrar Mensajes por Pantalla", 2520, 4080, 3015,
     195},
    {L"LblMensaje", K::StatusText, kLblMensaje, L"...", 120, 4440, 7575, 255},
    {L"TxtError", K::ErrorLog, kTxtError, L"", 0, 4800, 7815, 1575},
    {L"cmdRegEFc", K::HiddenButton, kCmdRegEFc, L"Registrar eFactura", 5640, 3600, 2055, 255},
    {L"LblLink", K::Link, kLblLink, L"Instructivo para registrar librerias y hacer un acceso directo",
     240, 6600, 6975, 255},
}};

}  // namespace tovrel::ui
