#include "platform/qt/QtCommonDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QEventLoop>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <cmath>

#include "platform/qt/QtControl.h"
#include "platform/qt/QtConvert.h"

namespace platform::qt {
namespace {

QWidget* OwnerWidget(IForm* owner) { return owner ? WidgetOf(*owner) : nullptr; }

std::string BeforeNul(const std::string& text) { return text.substr(0, text.find('\0')); }

// Characters (not bytes) of a text, as the buffer sizes count them.
qsizetype Characters(const std::string& text) { return ToQ(text).toUcs4().size(); }

// Writes a result into a buffer of max characters: the text, then NULs.
// False when it does not fit with its terminating NUL.
bool FillBuffer(std::string& buffer, int32_t max, const std::string& text) {
  if (Characters(text) + 1 > max) return false;
  buffer = text;
  buffer.append(std::max<size_t>(2, static_cast<size_t>(max) - std::min<size_t>(text.size(), max)), '\0');
  return true;
}

// The width a style's name gives (the names fonts use for their widths, as
// in "Condensed Bold" or "SemiExpanded"), in percent of the normal width.
int StretchOfStyle(const QString& style) {
  QString name = style.toLower();
  name.remove(QLatin1Char(' '));
  name.remove(QLatin1Char('-'));
  static const struct {
    const char* Word;
    int Stretch;
  } widths[] = {{"ultracondensed", 50}, {"extracondensed", 62}, {"semicondensed", 87}, {"condensed", 75},
                {"narrow", 75},         {"ultraexpanded", 200}, {"extraexpanded", 150}, {"semiexpanded", 112},
                {"expanded", 125}};
  for (const auto& width : widths) {
    if (name.contains(QLatin1String(width.Word))) return width.Stretch;
  }
  return 100;
}

// The face's own (untranslated) style nearest to a weight, slant and width
// (0 = normal width). Qt's font dialog looks the style up by name, and a
// translated style name ("太字") would match none of the face's styles.
QString NearestStyle(const QString& family, int weight, bool italic, int stretch) {
  QString best;
  int bestDistance = 0;
  const int width = stretch > 0 ? stretch : 100;
  for (const QString& style : QFontDatabase::styles(family)) {
    // An oblique face is slanted too, though the database calls only italic ones so.
    const bool slanted =
        QFontDatabase::italic(family, style) || style.contains(QLatin1String("Oblique"), Qt::CaseInsensitive);
    const int distance = std::abs(QFontDatabase::weight(family, style) - weight) + (slanted == italic ? 0 : 1000) +
                         2 * std::abs(StretchOfStyle(style) - width);
    if (best.isEmpty() || distance < bestDistance) {
      best = style;
      bestDistance = distance;
    }
  }
  return best;
}

// The detail view's size, kind and date columns as wide as what they show
// (Japanese dates are wider than the dialog's defaults); the name takes the
// rest.
void ReadableColumns(QFileDialog& dialog) {
  dialog.setViewMode(QFileDialog::Detail);
  auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  if (!view) return;
  QHeaderView* header = view->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int column = 1; column < header->count(); ++column) {
    header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  dialog.resize(dialog.sizeHint().expandedTo(QSize(720, 440)));
}

}  // namespace

QStringList QtCommonDialogs::NameFilters(const std::string& filter) {
  QStringList parts;
  size_t start = 0;
  while (start < filter.size()) {
    const size_t end = filter.find('\0', start);
    const std::string part = filter.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (part.empty()) break;
    parts << ToQ(part);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      if (!pattern.trimmed().isEmpty()) patterns << pattern.trimmed();
    }
    // The dialog hides the parenthesised patterns it matches with, so the
    // user reads the description exactly as the caller wrote it.
    filters << parts[i].trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filters;
}

int QtCommonDialogs::Run(QDialog& dialog) {
  // The keyboard goes back to the window that had it; without a window
  // manager nobody else gives it back.
  const QPointer<QWidget> before = QApplication::activeWindow();
  const auto giveBack = qScopeGuard([&before] {
    if (before && before->isVisible()) before->activateWindow();
  });
  if (!Shown) return dialog.exec();
  // The hook runs once the dialog is on the screen and its loop runs: a
  // hook run before (events handled while the dialog shows itself) would
  // close a dialog that the loop then waits on for ever.
  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  dialog.open();
  QTimer::singleShot(0, &dialog, [this, &dialog] { Shown(dialog); });
  loop.exec();
  return dialog.result();
}

bool QtCommonDialogs::FileDialog(bool save, OpenFileNameInfo& ofn) {
  mError = 0;
  QString folder = ToQ(ofn.lpstrInitialDir);
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::currentPath();
  QFileDialog dialog(OwnerWidget(ofn.hwndOwner), ToQ(ofn.lpstrTitle), folder);
  // Qt's own dialog matches the patterns without regard to case, as the
  // callers' upper-case patterns ("*.HTM") need on Linux.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (save) {
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!(ofn.Flags & OFN_OVERWRITEPROMPT)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  } else if (ofn.Flags & OFN_ALLOWMULTISELECT) {
    dialog.setFileMode(QFileDialog::ExistingFiles);
  } else {
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  const QStringList filters = NameFilters(ofn.lpstrFilter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const qsizetype index = std::clamp<qsizetype>(ofn.nFilterIndex - 1, 0, filters.size() - 1);
    dialog.selectNameFilter(filters[index]);
  }
  if (!ofn.lpstrDefExt.empty()) dialog.setDefaultSuffix(ToQ(ofn.lpstrDefExt));
  const QString initialName = ToQ(BeforeNul(ofn.lpstrFile));
  if (!initialName.isEmpty()) dialog.selectFile(initialName);
  ReadableColumns(dialog);

  if (Run(dialog) != QDialog::Accepted) return false;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return false;

  std::string result;
  if (files.size() == 1) {
    result = FromQ(QDir::toNativeSeparators(files.front()));
  } else {
    result = FromQ(QFileInfo(files.front()).absolutePath());
    for (const QString& file : files) result += '\0' + FromQ(QFileInfo(file).fileName());
  }
  if (!FillBuffer(ofn.lpstrFile, ofn.nMaxFile, result)) {
    mError = FNERR_BUFFERTOOSMALL;
    return false;
  }
  // The title is a convenience: when it does not fit, it is left out.
  FillBuffer(ofn.lpstrFileTitle, ofn.nMaxFileTitle, FromQ(QFileInfo(files.front()).fileName()));
  return true;
}

int32_t QtCommonDialogs::LogPixelsY() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return 0;
  return static_cast<int32_t>(std::lround(screen->logicalDotsPerInchY()));
}

bool QtCommonDialogs::ChooseFont(ChooseFontInfo& cf) {
  mError = 0;
  const int32_t dpi = LogPixelsY();
  if (!cf.lpLogFont || dpi <= 0) {
    mError = CDERR_INITIALIZATION;
    return false;
  }
  LogFont& lf = *cf.lpLogFont;

  QDialog dialog(OwnerWidget(cf.hwndOwner));
  dialog.setWindowTitle(QStringLiteral("フォント"));
  auto* fonts = new QFontDialog(&dialog);
  fonts->setWindowFlags(Qt::Widget);
  QFontDialog::FontDialogOptions options = QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog;
  if (cf.Flags & CF_SCALABLEONLY) options |= QFontDialog::ScalableFonts;
  fonts->setOptions(options);
  if (cf.Flags & CF_INITTOLOGFONTSTRUCT) {
    QFont initial(ToQ(BeforeNul(lf.lfFaceName)));
    if (lf.lfHeight != 0) initial.setPointSizeF(std::abs(lf.lfHeight) * 72.0 / dpi);
    initial.setWeight(static_cast<QFont::Weight>(lf.lfWeight > 0 ? std::clamp(lf.lfWeight, 1, 1000) : 400));
    initial.setItalic(lf.lfItalic != 0);
    initial.setUnderline(lf.lfUnderline != 0);
    initial.setStrikeOut(lf.lfStrikeOut != 0);
    if (lf.lfStretch > 0) initial.setStretch(std::clamp<int>(lf.lfStretch, 1, 4000));
    // The dialog lists faces by the names the font database gives them
    // (localised, "IPA Pゴシック"), and substituted faces by their substitute.
    initial.setFamily(QFontInfo(initial).family());
    initial.setStyleName(NearestStyle(initial.family(), initial.weight(), initial.italic(), lf.lfStretch));
    fonts->setCurrentFont(initial);
  }
  // Another face keeps the style chosen so far as near as the face has it
  // (Qt's dialog would take the face's first style, such as "Condensed
  // Italic", when the same name is missing).
  QFont shown = fonts->currentFont();
  bool adjusting = false;
  QObject::connect(fonts, &QFontDialog::currentFontChanged, fonts, [fonts, &shown, &adjusting](const QFont& font) {
    if (adjusting) return;
    if (font.family() != shown.family()) {
      const QString style = NearestStyle(font.family(), shown.weight(), shown.italic(), StretchOfStyle(shown.styleName()));
      if (!style.isEmpty() && style != font.styleName()) {
        QFont kept = QFontDatabase::font(font.family(), style, std::max(1, font.pointSize()));
        if (font.pointSizeF() > 0) kept.setPointSizeF(font.pointSizeF());
        kept.setUnderline(font.underline());
        kept.setStrikeOut(font.strikeOut());
        adjusting = true;
        fonts->setCurrentFont(kept);
        adjusting = false;
        shown = fonts->currentFont();
        return;
      }
    }
    shown = font;
  });

  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(fonts);
  // Esc in the font lists closes the whole dialog, not just the lists.
  QObject::connect(fonts, &QDialog::finished, &dialog, [&dialog](int result) {
    if (result == QDialog::Accepted) dialog.accept();
    else dialog.reject();
  });

  // Qt's font dialog has no colour: a button beside it chooses one.
  QColor color = ToQColor(cf.rgbColors);
  bool colorChanged = false;
  if (cf.Flags & CF_EFFECTS) {
    auto* row = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("色(&C):"), &dialog);
    auto* button = new QPushButton(&dialog);
    button->setObjectName(QStringLiteral("colorButton"));
    caption->setBuddy(button);
    const auto paint = [button, &color] {
      QPixmap swatch(40, 14);
      swatch.fill(color);
      button->setIcon(QIcon(swatch));
      button->setIconSize(swatch.size());
      button->setText(color.name().toUpper());
    };
    paint();
    QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &color, &colorChanged, paint] {
      const QColor chosen = QColorDialog::getColor(color, &dialog, QStringLiteral("色の選択"));
      dialog.activateWindow();
      if (!chosen.isValid()) return;
      color = chosen;
      colorChanged = true;
      paint();
    });
    row->addWidget(caption);
    row->addWidget(button);
    row->addStretch();
    layout->addLayout(row);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);

  if (Run(dialog) != QDialog::Accepted) return false;

  const QFont chosen = fonts->currentFont();
  double points = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : chosen.pixelSize() * 72.0 / dpi;
  if ((cf.Flags & CF_LIMITSIZE) && cf.nSizeMin > 0 && cf.nSizeMax >= cf.nSizeMin) {
    points = std::clamp<double>(points, cf.nSizeMin, cf.nSizeMax);
  }
  lf = LogFont{};
  lf.lfHeight = -static_cast<int32_t>(std::lround(points * dpi / 72.0));
  lf.lfWeight = chosen.weight();
  lf.lfItalic = chosen.italic() ? 1 : 0;
  lf.lfUnderline = chosen.underline() ? 1 : 0;
  lf.lfStrikeOut = chosen.strikeOut() ? 1 : 0;
  lf.lfFaceName = FromQ(chosen.family());
  // The width of the chosen style, so that the same face comes back.
  lf.lfStretch = static_cast<int16_t>(
      !chosen.styleName().isEmpty() || chosen.stretch() <= 0 ? StretchOfStyle(chosen.styleName()) : chosen.stretch());
  cf.iPointSize = static_cast<int32_t>(std::lround(points * 10));
  cf.nFontType = static_cast<int16_t>((chosen.weight() >= QFont::Bold ? BOLD_FONTTYPE : 0) |
                                      (chosen.italic() ? ITALIC_FONTTYPE : 0));
  // An untouched colour comes back as it went in, so a system colour stays one.
  if (colorChanged) cf.rgbColors = RGB(static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()),
                                       static_cast<uint8_t>(color.blue()));
  return true;
}

}  // namespace platform::qt
