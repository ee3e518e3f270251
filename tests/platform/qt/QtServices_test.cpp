// The real popup menu, opener and clipboard, seen through Qt itself: what
// the test doubles take on trust (a separator is a separator, the chosen
// handler runs once the menu is gone, a file name with odd characters opens
// that file, text crosses the clipboard unchanged).
#include <QApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QObject>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "platform/qt/QtPopupMenu.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtShell.h"

using namespace platform;

namespace {

namespace fs = std::filesystem;

// The menu Qt shows, once it is up: its entries ("-" for a separator).
QStringList ShownEntries(QMenu& menu) {
  QStringList entries;
  for (QAction* action : menu.actions()) entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
  return entries;
}

// Runs step on the popup menu as soon as it is shown; gives up after 5 s.
void OnPopup(std::function<void(QMenu&)> step) {
  auto* poll = new QTimer;
  auto started = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, step, started] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      poll->deleteLater();
      step(*menu);
    } else if (++*started > 500) {
      poll->deleteLater();
    }
  });
  poll->start(10);
}

struct QtPopupMenuTest : testing::Test {
  void SetUp() override {
    form = Controls().CreateForm(FormStyle{"frmMain", "", vbSizable, false, false});
    form->Move(0, 0, 200 * 15, 100 * 15);
    form->Show();
    menu.Name = "mnuPopUp";
    menu.Items = {{"mnuSetUp", "設定(&C)", [this] { Chosen("mnuSetUp"); }},
                  {"mnuLine", "-", [this] { Chosen("mnuLine"); }},
                  {"mnuEnd", "終了(&X)", [this] { Chosen("mnuEnd"); }}};
  }
  void TearDown() override { form->Hide(); }

  void Chosen(const std::string& name) {
    chosen.push_back(name);
    menuOpenInHandler = QApplication::activePopupWidget() != nullptr;
  }

  std::unique_ptr<IForm> form;
  Menu menu;
  std::vector<std::string> chosen;
  bool menuOpenInHandler = false;
  qt::QtPopupMenu popup;
};

// Faults caught: "-" shown as an item, the mnemonic lost, a handler that
// runs while its menu is still open (a handler that ends the window would
// pull the menu from under Qt), a handler run for a cancelled menu.
TEST_F(QtPopupMenuTest, ShowsSeparatorsAndRunsTheChosenHandlerOnceTheMenuHasClosed) {
  QStringList entries;
  OnPopup([&](QMenu& shown) {
    entries = ShownEntries(shown);
    QTest::keyClick(&shown, Qt::Key_X);  // the mnemonic of 終了(&X)
  });
  popup.Show(*form, menu);
  EXPECT_EQ(entries, QStringList({QStringLiteral("設定(&C)"), QStringLiteral("-"), QStringLiteral("終了(&X)")}));
  EXPECT_EQ(chosen, std::vector<std::string>{"mnuEnd"});
  EXPECT_FALSE(menuOpenInHandler);

  OnPopup([](QMenu& shown) { QTest::keyClick(&shown, Qt::Key_Escape); });
  popup.Show(*form, menu);
  EXPECT_EQ(chosen.size(), 1u) << "a cancelled menu runs nothing";
}

// Fault caught: the menu read after its handler changed it (the handler
// runs on a copy).
TEST_F(QtPopupMenuTest, AHandlerMayRebuildTheMenuItCameFrom) {
  menu.Items[0].Click = [this] { menu.Items.clear(); };
  OnPopup([](QMenu& shown) { QTest::keyClick(&shown, Qt::Key_C); });
  popup.Show(*form, menu);
  EXPECT_TRUE(menu.Items.empty());
}

// Catches what QDesktopServices would have opened, instead of opening it.
class OpenedUrls : public QObject {
  Q_OBJECT
 public:
  OpenedUrls() {
    for (const char* scheme : {"file", "mailto", "https"}) {
      QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    }
  }
  ~OpenedUrls() override {
    for (const char* scheme : {"file", "mailto", "https"}) QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
  }
  QList<QUrl> Urls;
 public slots:
  void Open(const QUrl& url) { Urls << url; }
};

// Faults caught: a file name with "#", "%", blanks or Japanese cut or
// mangled on its way to the desktop (a fragment, an escape), a relative
// name opened against the wrong folder, an address taken for a file.
TEST(QtShellOpen, FilesOpenAsThemselvesAndAddressesAsAddresses) {
  const char* tmp = std::getenv("KELVORA_TEST_TMP");
  const fs::path folder = fs::path(tmp ? tmp : testing::TempDir()) / "open 100% #1";
  fs::create_directories(folder);
  const fs::path file = folder / "時報 #2.htm";
  std::ofstream(file) << "x";
  OpenedUrls opened;
  qt::QtShell shell;

  EXPECT_TRUE(shell.Open(file.string()));
  const fs::path before = fs::current_path();
  fs::current_path(folder);
  EXPECT_TRUE(shell.Open("時報 #2.htm"));
  fs::current_path(before);
  EXPECT_TRUE(shell.Open("mailto:help@kelvora.example"));
  EXPECT_TRUE(shell.Open("https://kelvora.example/a%20b#top"));
  EXPECT_FALSE(shell.Open(""));
  ASSERT_EQ(opened.Urls.size(), 4);
  EXPECT_EQ(opened.Urls[0].toLocalFile().toStdString(), file.string());
  EXPECT_EQ(opened.Urls[1].toLocalFile().toStdString(), file.string());
  EXPECT_EQ(opened.Urls[2].scheme(), QStringLiteral("mailto"));
  EXPECT_EQ(opened.Urls[2].path(), QStringLiteral("help@kelvora.example"));
  EXPECT_EQ(opened.Urls[3].fragment(), QStringLiteral("top"));
}

// Fault caught: Japanese text or line ends changed on the way through the
// system clipboard (the copy of the clock's rows).
TEST(QtClipboardText, JapaneseTextAndLineEndsComeBackUnchanged) {
  qt::QtClipboard clipboard;
  const std::string text = "月曜日 12/07 09:05:03\r\n令和 08年";
  clipboard.SetText(text);
  EXPECT_EQ(clipboard.GetText(), text);
  clipboard.Clear();
  EXPECT_EQ(clipboard.GetText(), "");
}

}  // namespace

#include "QtServices_test.moc"
