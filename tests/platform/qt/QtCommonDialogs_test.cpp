#include "platform/qt/QtCommonDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QListView>
#include <QLineEdit>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace platform;
using namespace std::string_literals;

namespace {

namespace fs = std::filesystem;

// Chooses a file as the user would type its name. selectFile() leaves the
// name field alone once the field has the focus, and whether the offscreen
// window got it first is a matter of timing; a refused choice (or a warning
// box the dialog opened) ends the dialog as cancelled instead of waiting.
void ChooseFile(QFileDialog& dialog, const QString& name) {
  dialog.selectFile(name);
  if (auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) edit->setText(name);
  QTimer::singleShot(5000, &dialog, [&dialog] {
    if (QWidget* box = QApplication::activeModalWidget(); box && box != &dialog) box->close();
    if (dialog.isVisible()) dialog.reject();
  });
  static_cast<QDialog&>(dialog).accept();
}

struct QtFileDialogTest : testing::Test {
  void SetUp() override {
    const char* tmp = std::getenv("KELVORA_TEST_TMP");
    folder = fs::path(tmp ? tmp : testing::TempDir()) / "dialogs";
    fs::create_directories(folder);
    for (const char* name : {"kelvora.htm", "Guide.Html", "readme.txt"}) std::ofstream(folder / name) << "x";
    ofn.lpstrFilter = "HTM Files (*.HTM)\0*.HTM\0All Files (*.*)\0*.*\0\0"s;
    ofn.lpstrInitialDir = folder.string();
    ofn.lpstrTitle = "HTML ヘルプファイル名の選択";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    ofn.nMaxFile = 255;
    ofn.lpstrFile = std::string(255, '\0');
    ofn.nMaxFileTitle = 255;
    ofn.lpstrFileTitle = std::string(254, ' ') + '\0';
  }

  fs::path folder;
  OpenFileNameInfo ofn;
  qt::QtCommonDialogs dialogs;
};

TEST(QtNameFilters, DescriptionsStayAsWrittenAndPatternsFollowInParentheses) {
  EXPECT_EQ(qt::QtCommonDialogs::NameFilters("HTM Files (*.HTM)\0*.HTM\0HTML Files (*.HTML)\0*.HTML\0\0"s),
            QStringList({"HTM Files (*.HTM) (*.HTM)", "HTML Files (*.HTML) (*.HTML)"}));
  EXPECT_EQ(qt::QtCommonDialogs::NameFilters("Wave File (*.WAV) \0 *.WAV\0\0"s),
            QStringList({"Wave File (*.WAV) (*.WAV)"}));
  EXPECT_EQ(qt::QtCommonDialogs::NameFilters("Help\0*.htm;*.html\0\0"s), QStringList({"Help (*.htm *.html)"}));
  // A description without its pattern is dropped.
  EXPECT_EQ(qt::QtCommonDialogs::NameFilters("Lonely\0\0"s), QStringList());
}

// What the dialog lists is left to Qt's file model: it reads the folder in a
// thread and, on a loaded machine, now and then shows it empty.
TEST_F(QtFileDialogTest, TheChoiceFillsTheBuffers) {
  QString title;
  dialogs.Shown = [&](QDialog& shown) {
    auto& dialog = dynamic_cast<QFileDialog&>(shown);
    title = dialog.windowTitle();
    ChooseFile(dialog, QStringLiteral("kelvora.htm"));
  };
  ASSERT_TRUE(dialogs.GetOpenFileName(ofn));
  EXPECT_EQ(title, QStringLiteral("HTML ヘルプファイル名の選択"));
  const std::string path = (folder / "kelvora.htm").string();
  EXPECT_EQ(ofn.lpstrFile.substr(0, path.size() + 2), path + "\0\0"s);
  EXPECT_EQ(ofn.lpstrFileTitle.substr(0, 12), "kelvora.htm\0"s);
  EXPECT_EQ(dialogs.CommDlgExtendedError(), 0);
}

TEST_F(QtFileDialogTest, CancelAndTooSmallABufferAreFailuresWithTheirCodes) {
  dialogs.Shown = [](QDialog& dialog) { dialog.reject(); };
  EXPECT_FALSE(dialogs.GetOpenFileName(ofn));
  EXPECT_EQ(dialogs.CommDlgExtendedError(), 0);

  ofn.nMaxFile = 5;
  ofn.lpstrFile = std::string(5, '\0');
  dialogs.Shown = [](QDialog& shown) {
    ChooseFile(dynamic_cast<QFileDialog&>(shown), QStringLiteral("kelvora.htm"));
  };
  EXPECT_FALSE(dialogs.GetOpenFileName(ofn));
  EXPECT_EQ(dialogs.CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
}

TEST(QtFontDialog, TheChosenFontReturnsInDeviceUnitsAndAnUntouchedColourStays) {
  qt::QtCommonDialogs dialogs;
  ASSERT_EQ(dialogs.LogPixelsY(), 96);
  LogFont lf;
  lf.lfHeight = -12;
  lf.lfWeight = 700;
  lf.lfFaceName = "DejaVu Sans";
  ChooseFontInfo cf;
  cf.lpLogFont = &lf;
  cf.Flags = 196865 | CF_INITTOLOGFONTSTRUCT;
  cf.rgbColors = SystemColor(COLOR_BTNTEXT);
  QFont initial;
  bool hasColorButton = false;
  dialogs.Shown = [&](QDialog& dialog) {
    auto* fonts = dialog.findChild<QFontDialog*>();
    initial = fonts->currentFont();
    hasColorButton = dialog.findChild<QWidget*>(QStringLiteral("colorButton")) != nullptr;
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSize(12);
    font.setBold(true);
    font.setStyleName(QStringLiteral("Bold"));
    font.setUnderline(true);
    fonts->setCurrentFont(font);
    dialog.accept();
  };
  ASSERT_TRUE(dialogs.ChooseFont(cf));
  // The font to edit is preselected, bold included (Qt looks styles up by
  // name, and the Japanese translation renames them).
  EXPECT_EQ(initial.family(), QStringLiteral("DejaVu Sans"));
  EXPECT_DOUBLE_EQ(initial.pointSizeF(), 9.0);
  EXPECT_EQ(initial.weight(), QFont::Bold);
  EXPECT_TRUE(hasColorButton);
  EXPECT_EQ(lf.lfHeight, -16);
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_EQ(lf.lfUnderline, 1);
  EXPECT_EQ(lf.lfFaceName, "DejaVu Serif");
  EXPECT_EQ(cf.rgbColors, SystemColor(COLOR_BTNTEXT));

  dialogs.Shown = [](QDialog& dialog) { dialog.reject(); };
  EXPECT_FALSE(dialogs.ChooseFont(cf));
  EXPECT_EQ(dialogs.CommDlgExtendedError(), 0);
}

// The labels the dialog shows, with their accelerators.
QStringList LabelTexts(QWidget& dialog) {
  QStringList texts;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
  return texts;
}

TEST(QtFontDialog, SpeaksJapaneseAndKeepsTheStyleAcrossFacesAndTheWidthComesBack) {
  qt::QtCommonDialogs dialogs;
  LogFont lf;
  lf.lfHeight = -12;
  lf.lfFaceName = "IPAPGothic";
  ChooseFontInfo cf;
  cf.lpLogFont = &lf;
  cf.Flags = 196865 | CF_INITTOLOGFONTSTRUCT;
  QStringList labels;
  QString styleAfterFace;
  dialogs.Shown = [&](QDialog& dialog) {
    labels = LabelTexts(dialog);
    // The user picks another face in the list: its style is the nearest to
    // the one shown (Qt itself would take the face's first, "Condensed Italic").
    auto* fonts = dialog.findChild<QFontDialog*>();
    auto* families = fonts->findChildren<QListView*>().value(0);
    ASSERT_NE(families, nullptr);
    const QModelIndexList serif = families->model()->match(families->model()->index(0, 0), Qt::DisplayRole,
                                                           QStringLiteral("DejaVu Serif"), 1, Qt::MatchExactly);
    ASSERT_EQ(serif.size(), 1);
    families->setCurrentIndex(serif.front());
    styleAfterFace = fonts->currentFont().styleName();
    dialog.accept();
  };
  ASSERT_TRUE(dialogs.ChooseFont(cf));
  EXPECT_TRUE(labels.contains(QStringLiteral("フォント(&F)"))) << labels.join(QLatin1Char('|')).toStdString();
  EXPECT_TRUE(labels.contains(QStringLiteral("サイズ(&S)"))) << labels.join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(styleAfterFace.toStdString(), "Book");
  EXPECT_EQ(lf.lfFaceName, "DejaVu Serif");
  EXPECT_EQ(lf.lfItalic, 0);
  EXPECT_EQ(lf.lfStretch, 100);

  // A condensed bold face goes in by weight and width and comes back so.
  lf.lfFaceName = "DejaVu Sans";
  lf.lfWeight = 700;
  lf.lfStretch = 75;
  QString initialStyle;
  dialogs.Shown = [&](QDialog& dialog) {
    initialStyle = dialog.findChild<QFontDialog*>()->currentFont().styleName();
    dialog.accept();
  };
  ASSERT_TRUE(dialogs.ChooseFont(cf));
  EXPECT_EQ(initialStyle.toStdString(), "Condensed Bold");
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_EQ(lf.lfStretch, 75);
}

}  // namespace
