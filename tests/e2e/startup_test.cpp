// Start-up seen from outside: what the main window shows once it appears.
#include "app_fixture.h"

namespace e2e {
namespace {

using namespace tovrel::ui;
using StartupTest = TovrelAppTest;

TEST_F(StartupTest, ListsEveryEntryLineCheckedAndShowsTheFirstState) {
    // Blank and comment lines are passed over; entry texts are kept exactly as read.
    Prepare({L"' componentes de prueba, con coma",
             L"",
             L"   ",
             L"   ' comentario sangrado",
             L"  uno.dll ,winpath$  ",
             L"dos.dll,Systempath$,extra,,",
             L"Compa\u00f1\u00eda.ocx,",
             L"\t'tab.dll,",
             L"dos.dll,Systempath$,extra,,",
             L"tres.dll,desconocido$",
             L"cuatro.dll,CurrentPath$"});
    StartAndWaitForForm1();

    const std::vector<std::wstring> expected = {
        L"  uno.dll ,winpath$  ", L"dos.dll,Systempath$,extra,,", L"Compa\u00f1\u00eda.ocx,",
        L"\t'tab.dll,",           L"dos.dll,Systempath$,extra,,", L"tres.dll,desconocido$",
        L"cuatro.dll,CurrentPath$"};
    RemoteListView list(Control(kList1));
    const std::vector<ListEntry> entries = list.Entries();
    ASSERT_EQ(entries.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(Printable(entries[i].text), Printable(expected[i])) << "entry " << i;
        EXPECT_TRUE(entries[i].checked) << "entry " << i;
    }

    EXPECT_EQ(TextOf(form1_), kForm1Title);
    EXPECT_FALSE(Checked(kChkMostrar));
    EXPECT_EQ(TextOf(Control(kLblMensaje)), L"...");
    EXPECT_EQ(TextOf(Control(kTxtError)), L"");
    EXPECT_TRUE(IsWindowEnabled(Control(kCmdRegistrar)));
    EXPECT_FALSE(IsWindowVisible(Control(kCmdRegEFc)));
    EXPECT_EQ(FocusOf(form1_), Control(kList1)) << "the focus starts in the list";
    EXPECT_TRUE(MessageBoxesOf(app_->id()).empty());
}

TEST_F(StartupTest, MissingRegistrarIsToldBeforeTheWindowAndDisablesRegistration) {
    Prepare({L"uno.dll,", L"dos.dll,winpath$"}, /*registrarSource=*/L"");
    Start();

    const MessageBoxSeen box = WaitForMessageBox(app_->id());
    EXPECT_EQ(FindTopLevel(app_->id(), kForm1ClassName, /*visibleOnly=*/true), nullptr)
        << "the main window must not show before the message is closed";
    EXPECT_EQ(Printable(box.text),
              Printable(L"No se encuentra el Archivo regsvr32.exe, el mismo debe estar en el mismo "
                        L"directorio de la aplicacion (" + AppPath() + L")"));
    EXPECT_EQ(box.title, L"Aviso al operador!!!");
    EXPECT_STREQ(IconName(box.icon), IconName(BoxIcon::Critical));
    EXPECT_EQ(box.buttons.size(), 1u);
    PressOk(box);

    form1_ = WaitForWindow(app_->id(), kForm1ClassName);
    EXPECT_FALSE(IsWindowEnabled(Control(kCmdRegistrar)));
    EXPECT_EQ(RemoteListView(Control(kList1)).Count(), 0);
    EXPECT_TRUE(IsWindowEnabled(Control(kCmdMarcar)));
    EXPECT_TRUE(IsWindowEnabled(Control(kChkMostrar)));
}

TEST_F(StartupTest, SalirAndTheCloseBoxEndTheProgramWithoutAQuestion) {
    Prepare({L"uno.dll,"});
    StartAndWaitForForm1();
    Click(Control(kCmdSalir));
    EXPECT_TRUE(app_->WaitForExit(10000)) << "still running after Salir";

    StartAndWaitForForm1();
    PostMessageW(form1_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(app_->WaitForExit(10000)) << "still running after the close box; it shows: "
                                          << DescribeWindows(app_->id());
}

}  // namespace
}  // namespace e2e
