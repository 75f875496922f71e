// Where the controls stand at 96 dots per inch, from the tables in twips.
#include "app_fixture.h"

namespace e2e {
namespace {

using namespace tovrel::ui;

struct TwipsBox {
    int id;
    int left, top, width, height;
};

int Px(int twips) { return MulDiv(twips, 96, 1440); }

class GeometryTest : public TovrelAppTest {
protected:
    void SetUp() override {
        TovrelAppTest::SetUp();
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        ASSERT_EQ(dpi, 96) << "these expectations are for 96 dots per inch";
        Prepare({L"uno.dll,"});
        StartAndWaitForForm1();
    }

    void ExpectPlaced(HWND window, const TwipsBox& box) {
        const RECT r = RectIn(Child(window, box.id), window);
        EXPECT_EQ(r.left, Px(box.left)) << "control " << box.id;
        EXPECT_EQ(r.top, Px(box.top)) << "control " << box.id;
        EXPECT_EQ(r.right - r.left, Px(box.width)) << "control " << box.id;
        EXPECT_EQ(r.bottom - r.top, Px(box.height)) << "control " << box.id;
    }
};

TEST_F(GeometryTest, MainWindowControlsStandWhereTheirTwipsSay) {
    const SIZE client = ClientSize(form1_);
    EXPECT_EQ(client.cx, 521);
    EXPECT_EQ(client.cy, 467);
    // In the window's client coordinates; Label2 lies inside Frame1.
    const TwipsBox boxes[] = {
        {kList1, 0, 360, 5415, 3660},        {kCmdRegistrar, 5640, 3120, 2055, 375},
        {kCmdSalir, 5640, 3960, 2055, 375},  {kFrame1, 5640, 480, 2055, 2175},
        {kLabel1, 0, 0, 7815, 375},          {kLabel2, 5760, 960, 1815, 1455},
        {kCmdMarcar, 120, 4080, 2055, 255},  {kChkMostrar, 2520, 4080, 3015, 195},
        {kLblMensaje, 120, 4440, 7575, 255}, {kTxtError, 0, 4800, 7815, 1575},
        {kCmdRegEFc, 5640, 3600, 2055, 255}, {kLblLink, 240, 6600, 6975, 255},
    };
    for (const TwipsBox& box : boxes) ExpectPlaced(form1_, box);
}

TEST_F(GeometryTest, InvoiceWindowLabelsStandWhereTheirTwipsSay) {
    PostCommand(form1_, kCmdRegEFc, Control(kCmdRegEFc));
    HWND factura = WaitForWindow(app_->id(), kFrmeFacturaClassName);
    const SIZE client = ClientSize(factura);
    EXPECT_EQ(client.cx, 576);
    EXPECT_EQ(client.cy, 359);
    const TwipsBox boxes[] = {
        {kFacturaLabel5, 3345, 135, 4950, 540},    {kFacturaLabel1, 3345, 1080, 4440, 885},
        {kLblPaso1, 480, 2565, 1290, 210},         {kLblDetPaso1, 1890, 2295, 4605, 360},
        {kLblSubDetPaso1, 1890, 2550, 6180, 210},  {kLblPaso2, 480, 3510, 1290, 210},
        {kLblDetPaso2, 1890, 3225, 5100, 390},     {kLblSubDetPaso2, 1875, 3480, 6180, 210},
        {kLblPaso3, 480, 4365, 1290, 210},         {kLblDetPaso3, 1890, 4095, 4605, 360},
        {kLblSubDetPaso3, 1875, 4350, 6495, 300},  {kLblVolver, 255, 5040, 1290, 210},
        {kFacturaLabel6, 6000, 5025, 2400, 270},
    };
    for (const TwipsBox& box : boxes) ExpectPlaced(factura, box);
}

}  // namespace
}  // namespace e2e
