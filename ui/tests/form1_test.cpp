// The main window's own behaviour: its checklist and window operations, the keyboard, the
// hidden e-invoice button and the end of the program with its last window.
#include "ui/main_application.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ui/control_ids.h"
#include "ui/form1_layout.h"
#include "ui/tests/ui_test_support.h"
#include "ui/twips.h"

namespace tovrel::ui {
namespace {

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(form_.Create());
    ShowWindow(form_.Window(), SW_SHOWNORMAL);
    SetForegroundWindow(form_.Window());
    SetFocus(Item(kList1));
    test::PumpPending(form_.Window());
  }
  void TearDown() override {
    // Closing the windows posts the quit request; it must not reach the next test.
    if (HWND factura = FindWindowW(kFrmeFacturaClassName, nullptr)) DestroyWindow(factura);
    if (form_.Window()) DestroyWindow(form_.Window());
    test::PumpPending();
  }

  HWND Item(int id) const { return GetDlgItem(form_.Window(), id); }
  std::wstring TextOf(int id) const {
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(Item(id))) + 1);
    GetWindowTextW(Item(id), buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
  }
  void PressKey(UINT key) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    test::PumpPending(form_.Window());
  }
  std::vector<bool> Marks() {
    std::vector<bool> marks;
    for (int i = 0; i < list_.Count(); ++i) marks.push_back(list_.Checked(i));
    return marks;
  }

  MainApplication application_;
  Form1& form_ = application_.MainForm();
  ListViewChecklist& list_ = form_.List1();
};

// Every control that shows a caption, as the table lists them.
std::vector<const Form1Control*> CaptionedControls() {
  std::vector<const Form1Control*> captioned;
  for (const Form1Control& control : kForm1Controls) {
    if (control.text[0] != L'\0') captioned.push_back(&control);
  }
  return captioned;
}

// Each caption is measured with the control's own font against the box the control
// paints it in; the boxes themselves stay where the table puts them at `dpi`.
void ExpectEveryCaptionWholeAndEveryBoxInPlace(HWND window, UINT dpi) {
  int overflowing = 0;
  for (const Form1Control* control : CaptionedControls()) {
    HWND item = GetDlgItem(window, control->id);
    const std::string overflow =
        test::CaptionOverflow(item, test::StandardCaptionLayout(item, dpi));
    if (!overflow.empty()) ++overflowing;
    EXPECT_EQ(overflow, "") << test::Narrow(control->name) << " at " << dpi << " DPI";
  }
  EXPECT_EQ(overflowing, 0) << "captions cut at " << dpi << " DPI";
  for (const Form1Control& control : kForm1Controls) {
    EXPECT_EQ(test::PlaceInParent(GetDlgItem(window, control.id)),
              test::BoxText(
                  PixelBox(control.left, control.top, control.width, control.height, dpi)))
        << test::Narrow(control.name) << " at " << dpi << " DPI";
  }
}

TEST_F(Form1Test, EveryCaptionIsWholeAtTheSystemDpi) {
  const UINT dpi = DpiForWindow(form_.Window());
  ASSERT_NO_FATAL_FAILURE(test::ExpectTheRequestedDpi(dpi));
  // The client area is the table's, whatever DPI the frame around it was drawn at.
  EXPECT_EQ(test::ClientSizeOf(form_.Window()),
            test::SizeText(TwipsToPixels(kForm1ClientWidth, dpi),
                           TwipsToPixels(kForm1ClientHeight, dpi)));
  ExpectEveryCaptionWholeAndEveryBoxInPlace(form_.Window(), dpi);
}

class Form1CaptionAtDpiTest : public Form1Test, public ::testing::WithParamInterface<UINT> {};

TEST_P(Form1CaptionAtDpiTest, EveryCaptionIsWholeAfterAMoveToAMonitorOfThisDpi) {
  EXPECT_EQ(test::ClientSizeAfterDpiChange(form_.Window(), GetParam()),
            test::SizeText(TwipsToPixels(kForm1ClientWidth, GetParam()),
                           TwipsToPixels(kForm1ClientHeight, GetParam())));
  ExpectEveryCaptionWholeAndEveryBoxInPlace(form_.Window(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Dpi, Form1CaptionAtDpiTest, test::kDpis, test::DpiName);

TEST_F(Form1Test, TheChecklistKeepsTextsAndMarks) {
  const std::wstring longLine = std::wstring(700, L'x') + L".ocx,Systempath$";
  list_.BeginUpdate();
  list_.Append(L"  uno.dll ,winpath$");
  list_.Append(longLine);
  list_.Append(L"tres.ocx\t,Crystal$");
  list_.EndUpdate();
  ASSERT_EQ(list_.Count(), 3);
  EXPECT_EQ(list_.Text(0), L"  uno.dll ,winpath$");
  EXPECT_EQ(list_.Text(1), longLine);  // longer than any first guess at a buffer
  EXPECT_EQ(list_.Text(2), L"tres.ocx\t,Crystal$");
  EXPECT_EQ(Marks(), (std::vector<bool>{false, false, false}));

  list_.SetChecked(1, true);
  EXPECT_EQ(Marks(), (std::vector<bool>{false, true, false}));
  list_.SetChecked(0, true);
  list_.SetChecked(1, false);
  EXPECT_EQ(Marks(), (std::vector<bool>{true, false, false}));

  list_.Append(L"cuatro.dll,");  // appended at the end, not sorted in
  EXPECT_EQ(list_.Text(3), L"cuatro.dll,");

  list_.Clear();
  EXPECT_EQ(list_.Count(), 0);
}

// However a mark changed since start-up, "Marcar/Desmarcar" gives each its opposite.
TEST_F(Form1Test, MarcarInvertsMarksChangedInAnyWay) {
  const struct {
    const char* name;
    void (*change)(HWND list);
    std::vector<bool> before;  // the marks the change leaves
  } kChanges[] = {
      {"none", [](HWND) {}, {true, true, true}},
      {"space on an entry",
       [](HWND list) {
         SetFocus(list);
         ListView_SetItemState(list, 1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
         SendMessageW(list, WM_KEYDOWN, VK_SPACE, 1);
         SendMessageW(list, WM_KEYUP, VK_SPACE, 0xC0000001);
       },
       {true, false, true}},
      {"another thread's message to an entry",
       [](HWND list) {
         std::atomic<bool> done{false};
         std::thread other([&] {
           ListView_SetItemState(list, 0, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
           done = true;
         });
         while (!done) {
           test::PumpPending(GetParent(list));
           Sleep(1);
         }
         other.join();
       },
       {false, true, true}},
      {"every mark, one by one",
       [](HWND list) {
         for (int i = 0; i < 3; ++i) {
           ListView_SetItemState(list, i, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
         }
       },
       {false, false, false}},
      {"a selection only",
       [](HWND list) { ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED); },
       {true, true, true}},
      {"a checked entry deleted",
       [](HWND list) {
         ListView_SetItemState(list, 2, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
         ListView_DeleteItem(list, 0);
       },
       {true, false}},
  };
  for (const auto& change : kChanges) {
    SCOPED_TRACE(change.name);
    list_.Clear();
    for (const wchar_t* text : {L"uno.dll,", L"dos.dll,", L"tres.dll,"}) list_.Append(text);
    list_.SetAllChecked(true);
    change.change(Item(kList1));
    test::PumpPending(form_.Window());
    ASSERT_EQ(Marks(), change.before);
    std::vector<bool> inverted;
    for (const bool mark : change.before) inverted.push_back(!mark);
    SendMessageW(Item(kCmdMarcar), BM_CLICK, 0, 0);
    EXPECT_EQ(Marks(), inverted);
    SendMessageW(Item(kCmdMarcar), BM_CLICK, 0, 0);
    EXPECT_EQ(Marks(), change.before);
  }

  // Filled as start-up fills it, the list knows its count; after an entry inserted by
  // another hand, which may come checked, or a change told for every entry at once, it no
  // longer does.
  list_.Clear();
  list_.Append(L"uno.dll,");
  list_.SetAllChecked(true);
  EXPECT_EQ(list_.CheckedCount(), 1);
  LVITEMW outsider{};
  outsider.mask = LVIF_TEXT;
  outsider.iItem = 1;
  outsider.pszText = const_cast<wchar_t*>(L"dos.dll,");
  ASSERT_EQ(ListView_InsertItem(Item(kList1), &outsider), 1);
  EXPECT_EQ(list_.CheckedCount(), std::nullopt);
  list_.Clear();
  EXPECT_EQ(list_.CheckedCount(), 0);
  NMLISTVIEW all{};
  all.hdr = {Item(kList1), static_cast<UINT_PTR>(kList1), LVN_ITEMCHANGED};
  all.iItem = -1;
  all.uChanged = LVIF_STATE;
  all.uNewState = INDEXTOSTATEIMAGEMASK(1);
  all.uOldState = INDEXTOSTATEIMAGEMASK(2);
  list_.OnNotify(all.hdr);
  EXPECT_EQ(list_.CheckedCount(), std::nullopt);
}

// Controls send their notifications; one posted to the window points at nothing it may
// read, and neither does one sent without its header.
TEST_F(Form1Test, APostedOrEmptyNotificationIsIgnored) {
  PostMessageW(form_.Window(), WM_NOTIFY, kList1, 16);
  test::PumpPending(form_.Window());
  SendMessageW(form_.Window(), WM_NOTIFY, kList1, 0);
  EXPECT_TRUE(IsWindow(form_.Window()));
}

TEST_F(Form1Test, TheErrorLogTakesMoreThanThirtyThousandCharacters) {
  std::wstring log;
  while (log.size() < 40000) log += L"\r\ncomponente.dll El sistema no puede encontrar el archivo";
  form_.SetErrorText(log);
  EXPECT_EQ(form_.ErrorText(), log);

  // The operator can still type at the end of a long log.
  HWND edit = Item(kTxtError);
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, log.size(), log.size());
  SendMessageW(edit, WM_CHAR, L'z', 1);
  EXPECT_EQ(form_.ErrorText(), log + L"z");
}

TEST_F(Form1Test, StatusCheckBoxAndRegistrarAreWhatTheLogicSees) {
  form_.SetStatus(L"Registrando: dialogos.ocx");
  EXPECT_EQ(TextOf(kLblMensaje), L"Registrando: dialogos.ocx");

  EXPECT_FALSE(form_.ShowRegistrarMessages());
  SendMessageW(Item(kChkMostrar), BM_CLICK, 0, 0);
  EXPECT_TRUE(form_.ShowRegistrarMessages());

  EXPECT_TRUE(IsWindowEnabled(Item(kCmdRegistrar)));
  form_.DisableRegistrar();
  EXPECT_FALSE(IsWindowEnabled(Item(kCmdRegistrar)));
}

TEST_F(Form1Test, FractionalPositionsAreFlooredAndTheSizeKept) {
  const platform::Size size = form_.WindowSize();
  form_.MoveWindow(100.5f, -20.25f);
  RECT outer{};
  GetWindowRect(form_.Window(), &outer);
  EXPECT_EQ(outer.left, 100);
  EXPECT_EQ(outer.top, -21);
  EXPECT_EQ(outer.right - outer.left, size.width);
  EXPECT_EQ(outer.bottom - outer.top, size.height);

  const UINT dpi = DpiForWindow(form_.Window());
  RECT client{};
  GetClientRect(form_.Window(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(kForm1ClientWidth, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(kForm1ClientHeight, dpi));
  EXPECT_FALSE(GetWindowLongPtrW(form_.Window(), GWL_STYLE) &
               (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
}

TEST_F(Form1Test, TabVisitsTheFocusableControlsInOrderAndSkipsADisabledRegistrar) {
  auto tabRound = [this](int steps) {
    std::vector<int> visited;
    for (int i = 0; i < steps; ++i) {
      PressKey(VK_TAB);
      visited.push_back(GetDlgCtrlID(GetFocus()));
    }
    return visited;
  };
  ASSERT_EQ(GetFocus(), Item(kList1));
  EXPECT_EQ(tabRound(6), (std::vector<int>{kCmdRegistrar, kCmdSalir, kCmdMarcar, kChkMostrar,
                                           kTxtError, kList1}));
  form_.DisableRegistrar();
  EXPECT_EQ(tabRound(5),
            (std::vector<int>{kCmdSalir, kCmdMarcar, kChkMostrar, kTxtError, kList1}));
}

TEST_F(Form1Test, EnterPressesOnlyAFocusedButtonAndEscapeNothing) {
  list_.Append(L"uno.dll,");
  list_.Append(L"dos.dll,");
  list_.SetChecked(0, true);
  const std::vector<bool> start = Marks();

  ASSERT_EQ(GetFocus(), Item(kList1));
  PressKey(VK_RETURN);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Marks(), start);

  SetFocus(Item(kCmdMarcar));
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Marks(), start);
  PressKey(VK_RETURN);  // the focused "Marcar/Desmarcar" inverts every mark
  EXPECT_EQ(Marks(), (std::vector<bool>{false, true}));
  EXPECT_EQ(FindWindowW(kFrmeFacturaClassName, nullptr), nullptr);

  // In the error box Enter starts a new line, and Escape must not close the window as it
  // would close a dialog.
  form_.SetErrorText(L"ab");
  SetFocus(Item(kTxtError));
  SendMessageW(Item(kTxtError), EM_SETSEL, 2, 2);
  PressKey(VK_RETURN);
  ASSERT_TRUE(IsWindow(form_.Window())) << "enter";
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(test::PumpPending(form_.Window()));
  ASSERT_TRUE(IsWindow(form_.Window()));
  EXPECT_EQ(form_.ErrorText(), L"ab\r\n");
  EXPECT_EQ(Marks(), (std::vector<bool>{false, true}));
}

TEST_F(Form1Test, TheHiddenButtonOpensOneEInvoiceWindow) {
  EXPECT_FALSE(IsWindowVisible(Item(kCmdRegEFc)));
  EXPECT_EQ(TextOf(kCmdRegEFc), L"Registrar eFactura");
  for (int i = 0; i < 2; ++i) {
    SendMessageW(form_.Window(), WM_COMMAND, MAKEWPARAM(kCmdRegEFc, BN_CLICKED), 0);
    test::PumpPending(form_.Window());
  }
  EXPECT_EQ(test::CountWindowsOfClass(kFrmeFacturaClassName), 1);
  HWND factura = FindWindowW(kFrmeFacturaClassName, nullptr);
  ASSERT_NE(factura, nullptr);
  EXPECT_TRUE(IsWindowVisible(factura));
  // Its own window, not one that closes with the main window.
  EXPECT_NE(GetWindow(factura, GW_OWNER), form_.Window());
}

TEST_F(Form1Test, TheProgramEndsWithItsLastWindow) {
  SendMessageW(form_.Window(), WM_COMMAND, MAKEWPARAM(kCmdRegEFc, BN_CLICKED), 0);
  HWND factura = FindWindowW(kFrmeFacturaClassName, nullptr);
  ASSERT_NE(factura, nullptr);

  SendMessageW(form_.Window(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(test::PumpPending());  // the e-invoice window is still open
  EXPECT_TRUE(IsWindow(factura));

  SendMessageW(factura, WM_CLOSE, 0, 0);
  EXPECT_TRUE(test::PumpPending());
}

TEST_F(Form1Test, ClosingTheOnlyWindowEndsTheProgram) {
  SendMessageW(form_.Window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(test::PumpPending());
}

}  // namespace
}  // namespace tovrel::ui
