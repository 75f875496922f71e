#include "ui/frme_factura_layout.h"

#include "ui/control_ids.h"

namespace tovrel::ui {
namespace {

constexpr FontSpec kHeading{1200, true, false};
constexpr FontSpec kBold{975, true, false};
constexpr FontSpec kStepTitle{825, true, true};
constexpr FontSpec kPlain{825, false, false};
constexpr LabelColour kGreen = LabelColour::Green;
constexpr LabelColour kDefault = LabelColour::Default;

}  // namespace

const std::array<FacturaLabel, 13> kFacturaLabels = {{
    {L"Label5", kFacturaLabel5, L"Registro de Componentes de Factura Electrónica", 3345, 135, 4950,
     540, kHeading, kGreen, DT_LEFT, false, 0},
    {L"Label1", kFacturaLabel1,
     L"Para registrar los componentes de Factura Electrónica deberá cumplir los 3 pasos "
     L"siguientes en el orden dispuesto.",
     3345, 1080, 4440, 885, kBold, kDefault, DT_LEFT, false, 0},
    {L"lblPaso1", kLblPaso1, L"PASO 1:", 480, 2565, 1290, 210, kStepTitle, kGreen, DT_RIGHT, true, 1},
    {L"lblDetPaso1", kLblDetPaso1, L"Instalar .NET Framework 3.5", 1890, 2295, 4605, 360, kBold,
     kDefault, DT_LEFT, true, 1},
    {L"lblSubDetPaso1", kLblSubDetPaso1,
     L"Quirval incorpora esta poderosa herramienta para sus nuevos desarrollos.", 1890, 2550, 6180,
     210, kPlain, kDefault, DT_LEFT, true, 1},
    {L"lblPaso2", kLblPaso2, L"PASO 2:", 480, 3510, 1290, 210, kStepTitle, kGreen, DT_RIGHT, true, 2},
    {L"lblDetPaso2", kLblDetPaso2, L"Registrar Componentes de Quirval", 1890, 3225, 5100, 390, kBold,
     kDefault, DT_LEFT, true, 2},
    {L"lblSubDetPaso2", kLblSubDetPaso2,
     L"La librería karvelo.dll es propiedad de Quirval. Copyright © 2009.", 1875, 3480, 6180, 210,
     kPlain, kDefault, DT_LEFT, true, 2},
    {L"lblPaso3", kLblPaso3, L"PASO 3:", 480, 4365, 1290, 210, kStepTitle, kGreen, DT_RIGHT, true, 3},
    {L"lblDetPaso3", kLblDetPaso3, L"Instalar Certificado AFIP", 1890, 4095, 4605, 360, kBold,
     kDefault, DT_LEFT, true, 3},
    {L"lblSubDetPaso3", kLblSubDetPaso3,
     L"Necesario para validar la cadena de certificación para poder establecer el canal SSL/TLS",
     1875, 4350, 6495, 300, kPlain, kDefault, DT_LEFT, true, 3},
    {L"lblVolver", kLblVolver, L"Volver", 255, 5040, 1290, 210, kStepTitle, kGreen, DT_LEFT, true, 0},
    {L"Label6", kFacturaLabel6, L"Quirval", 6000, 5025, 2400, 270, kPlain, kDefault, DT_RIGHT, false,
     0},
}};

const std::array<FacturaLine, 8> kFacturaLines = {{
    {L"Line1", 225, 1875, 8310, 1875},
    {L"Line3", 1800, 2310, 1800, 2760},
    {L"Line6", 1800, 2760, 8220, 2760},
    {L"Line4", 1800, 3240, 1800, 3690},
    {L"Line7", 1800, 3690, 8220, 3690},
    {L"Line5", 1800, 4110, 1800, 4560},
    {L"Line8", 1800, 4560, 8220, 4560},
    {L"Line2", 240, 4920, 8325, 4920},
}};

const std::array<FacturaStep, 3> kFacturaSteps = {{
    {kLblDetPaso1, kLblSubDetPaso1, {L"dotnetfx35.exe", nullptr}},
    {kLblDetPaso2, kLblSubDetPaso2, {L"regasm karvelo.dll /tlb: karvelo.tlb", L"gacutil /i karvelo.dll"}},
    {kLblDetPaso3, kLblSubDetPaso3, {L"Lentoria.bat", nullptr}},
}};

}  // namespace tovrel::ui
