// The e-invoice window driven as the operator would: pointer movement, clicks, closing.
#include "ui/frme_factura.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/control_ids.h"
#include "ui/frme_factura_layout.h"
#include "ui/label_window.h"
#include "ui/tests/ui_test_support.h"
#include "ui/twips.h"

namespace tovrel::ui {
namespace {

using test::PublishedColour;

const std::wstring kDotnet = L"dotnetfx35.exe";
const std::wstring kRegasm = L"regasm karvelo.dll /tlb: karvelo.tlb";
const std::wstring kGacutil = L"gacutil /i karvelo.dll";
const std::wstring kLentoria = L"Lentoria.bat";

const int kDetailLabels[] = {kLblDetPaso1, kLblSubDetPaso1, kLblDetPaso2,
                             kLblSubDetPaso2, kLblDetPaso3, kLblSubDetPaso3};

class FrmeFacturaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The pointer must rest outside the window: where it rests, it highlights.
    SetCursorPos(0, 0);
    window_.Show();
    ASSERT_TRUE(window_.IsOpen());
    test::PumpPending();
  }

  HWND Item(int id) const { return GetDlgItem(window_.Window(), id); }
  COLORREF Colour(int id) const { return PublishedColour(Item(id)); }

  void PointAt(int id) { SendMessageW(Item(id), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2)); }
  void PointAtBackground(int xTwips, int yTwips) {
    const UINT dpi = DpiForWindow(window_.Window());
    SendMessageW(window_.Window(), WM_MOUSEMOVE, 0,
                 MAKELPARAM(TwipsToPixels(xTwips, dpi), TwipsToPixels(yTwips, dpi)));
  }
  void Press(int id) { SendMessageW(Item(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3)); }
  void Release(int id, int x = 3, int y = 3) {
    SendMessageW(Item(id), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  void Click(int id) {
    Press(id);
    Release(id);
  }
  // The colours of the six recoloured labels, step by step.
  std::vector<COLORREF> DetailColours() const {
    std::vector<COLORREF> colours;
    for (int id : kDetailLabels) colours.push_back(Colour(id));
    return colours;
  }

  test::RecordingLauncher launcher_;
  int closedCount_ = 0;
  FrmeFactura window_{launcher_, nullptr, [this] { ++closedCount_; }};
};

// Each label's caption, measured with the label's own font and flags, fits its fixed box
// without the clipping; the boxes stay where the table puts them at `dpi`.
void ExpectEveryCaptionWholeAndEveryBoxInPlace(HWND window, UINT dpi) {
  int overflowing = 0;
  for (const FacturaLabel& row : kFacturaLabels) {
    HWND label = GetDlgItem(window, row.id);
    test::CaptionLayout layout{};
    GetClientRect(label, &layout.box);
    layout.format = Label::kCaptionFormat | row.alignment;
    const std::string overflow = test::CaptionOverflow(label, layout);
    if (!overflow.empty()) ++overflowing;
    EXPECT_EQ(overflow, "") << test::Narrow(row.name) << " at " << dpi << " DPI";
    EXPECT_EQ(test::PlaceInParent(label),
              test::BoxText(PixelBox(row.left, row.top, row.width, row.height, dpi)))
        << test::Narrow(row.name) << " at " << dpi << " DPI";
  }
  EXPECT_EQ(overflowing, 0) << "captions cut at " << dpi << " DPI";
}

TEST_F(FrmeFacturaTest, EveryCaptionIsWholeAtTheSystemDpi) {
  const UINT dpi = DpiForWindow(window_.Window());
  ASSERT_NO_FATAL_FAILURE(test::ExpectTheRequestedDpi(dpi));
  EXPECT_EQ(test::ClientSizeOf(window_.Window()),
            test::SizeText(TwipsToPixels(kFacturaClientWidth, dpi),
                           TwipsToPixels(kFacturaClientHeight, dpi)));
  ExpectEveryCaptionWholeAndEveryBoxInPlace(window_.Window(), dpi);
}

class FrmeFacturaCaptionAtDpiTest : public FrmeFacturaTest,
                                    public ::testing::WithParamInterface<UINT> {};

TEST_P(FrmeFacturaCaptionAtDpiTest, EveryCaptionIsWholeAfterAMoveToAMonitorOfThisDpi) {
  EXPECT_EQ(test::ClientSizeAfterDpiChange(window_.Window(), GetParam()),
            test::SizeText(TwipsToPixels(kFacturaClientWidth, GetParam()),
                           TwipsToPixels(kFacturaClientHeight, GetParam())));
  ExpectEveryCaptionWholeAndEveryBoxInPlace(window_.Window(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Dpi, FrmeFacturaCaptionAtDpiTest, test::kDpis, test::DpiName);

TEST_F(FrmeFacturaTest, OpensWithTheTableColoursAndNoStepHighlighted) {
  const COLORREF labelDefault = GetSysColor(COLOR_BTNTEXT);
  for (int id : kDetailLabels) EXPECT_EQ(Colour(id), labelDefault) << id;
  for (int id : {kLblPaso1, kLblPaso2, kLblPaso3, kLblVolver, kFacturaLabel5}) {
    EXPECT_EQ(Colour(id), kStepGreen) << id;
  }
}

TEST_F(FrmeFacturaTest, PointingAtAnyLabelOfAStepHighlightsThatStepOnly) {
  for (int id : {kLblPaso2, kLblDetPaso2, kLblSubDetPaso2}) {
    PointAtBackground(100, 5300);
    PointAt(id);
    const COLORREF off = kStepOff;
    EXPECT_EQ(DetailColours(), (std::vector<COLORREF>{off, off, kStepGreen, kStepGreen, off, off}))
        << id;
    EXPECT_EQ(Colour(kLblPaso2), kStepGreen);  // the step's own label is never recoloured
  }
}

TEST_F(FrmeFacturaTest, StepsStayHighlightedUntilThePointerCrossesTheBackground) {
  PointAt(kLblDetPaso1);
  PointAt(kLblSubDetPaso2);  // straight from one step to the next
  EXPECT_EQ(Colour(kLblDetPaso1), kStepGreen);
  EXPECT_EQ(Colour(kLblDetPaso2), kStepGreen);

  // Over a line counts as over the background: everything goes off.
  PointAt(kLblPaso3);
  PointAtBackground(1800, 3400);  // on Line4, the upright of step 2
  for (COLORREF colour : DetailColours()) EXPECT_EQ(colour, kStepOff);
}

TEST_F(FrmeFacturaTest, LabelsWithoutHandlersAndThePictureChangeNoColour) {
  PointAt(kLblDetPaso3);
  const std::vector<COLORREF> before = DetailColours();
  for (int id : {kFacturaLabel1, kFacturaLabel5, kFacturaLabel6, kImage1, kLblVolver}) {
    PointAt(id);
    EXPECT_EQ(DetailColours(), before) << id;
  }
}

TEST_F(FrmeFacturaTest, ClickingAStepStartsItsCommandLinesInOrder) {
  Click(kLblPaso1);
  Click(kLblSubDetPaso2);
  Click(kLblDetPaso3);
  EXPECT_EQ(launcher_.launched,
            (std::vector<std::wstring>{kDotnet, kRegasm, kGacutil, kLentoria}));
  for (const std::wstring& path : launcher_.applicationPaths) EXPECT_TRUE(path.empty());

  // Every click starts the programs again.
  launcher_.launched.clear();
  Click(kLblDetPaso2);
  Click(kLblPaso2);
  EXPECT_EQ(launcher_.launched, (std::vector<std::wstring>{kRegasm, kGacutil, kRegasm, kGacutil}));
}

TEST_F(FrmeFacturaTest, ADoubleClickStartsOnceAndAReleaseElsewhereNothing) {
  Press(kLblDetPaso3);
  Release(kLblDetPaso3);
  SendMessageW(Item(kLblDetPaso3), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
  Release(kLblDetPaso3);
  EXPECT_EQ(launcher_.launched, (std::vector<std::wstring>{kLentoria}));

  launcher_.launched.clear();
  Press(kLblPaso1);
  Release(kLblPaso1, -40, -40);  // let go outside the label
  Click(kFacturaLabel1);         // and a label with no step
  Click(kImage1);
  EXPECT_TRUE(launcher_.launched.empty());
}

TEST_F(FrmeFacturaTest, AStepOneFailureShowsOnlyTheSystemsDescription) {
  launcher_.failing = {kDotnet};
  {
    test::MessageBoxAnswerer answerer;
    Click(kLblDetPaso1);
    const auto boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, test::RecordingLauncher::FailureText(kDotnet));
    EXPECT_EQ(boxes[0].caption, L"Tovrel");
  }
  EXPECT_TRUE(window_.IsOpen());
}

TEST_F(FrmeFacturaTest, AFailedRegasmStillStartsGacutilAndTellsWhichCommandFailed) {
  launcher_.failing = {kRegasm, kLentoria};
  test::MessageBoxAnswerer answerer;
  Click(kLblPaso2);
  EXPECT_EQ(launcher_.launched, (std::vector<std::wstring>{kRegasm, kGacutil}));
  Click(kLblPaso3);
  const auto boxes = answerer.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0].text.find(kRegasm), std::wstring::npos);
  EXPECT_NE(boxes[0].text.find(test::RecordingLauncher::FailureText(kRegasm)), std::wstring::npos);
  EXPECT_EQ(boxes[0].text.find(kGacutil), std::wstring::npos);
  EXPECT_NE(boxes[1].text.find(kLentoria), std::wstring::npos);
  EXPECT_TRUE(window_.IsOpen());
}

TEST_F(FrmeFacturaTest, VolverClosesAndTheNextOpeningStartsAfresh) {
  PointAt(kLblDetPaso1);
  Click(kLblVolver);
  test::PumpPending();
  EXPECT_FALSE(window_.IsOpen());
  EXPECT_EQ(closedCount_, 1);
  EXPECT_EQ(test::CountWindowsOfClass(kFrmeFacturaClassName), 0);

  window_.Show();
  ASSERT_TRUE(window_.IsOpen());
  for (int id : kDetailLabels) EXPECT_EQ(Colour(id), GetSysColor(COLOR_BTNTEXT)) << id;

  // The close box does the same.
  SendMessageW(window_.Window(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(window_.IsOpen());
  EXPECT_EQ(closedCount_, 2);
}

TEST_F(FrmeFacturaTest, OneFixedWindowCentredWithoutATaskbarButton) {
  HWND first = window_.Window();
  window_.Show();
  EXPECT_EQ(window_.Window(), first);
  EXPECT_EQ(test::CountWindowsOfClass(kFrmeFacturaClassName), 1);

  const UINT dpi = DpiForWindow(first);
  RECT client{};
  GetClientRect(first, &client);
  EXPECT_EQ(client.right, TwipsToPixels(kFacturaClientWidth, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(kFacturaClientHeight, dpi));

  const LONG_PTR style = GetWindowLongPtrW(first, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(first, GWL_EXSTYLE);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
  // Windows gives an owned window no taskbar button; the owner itself is never shown.
  HWND owner = GetWindow(first, GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_FALSE(IsWindowVisible(owner));

  RECT outer{};
  GetWindowRect(first, &outer);
  const int centreX = (outer.left + outer.right) / 2;
  const int centreY = (outer.top + outer.bottom) / 2;
  EXPECT_LE(std::abs(centreX - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
  EXPECT_LE(std::abs(centreY - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
}

}  // namespace
}  // namespace tovrel::ui
