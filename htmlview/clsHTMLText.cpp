// Text pieces on the canvas: printed character by character at the drawing
// position, wrapping at the right margin; centred and right-aligned lines on
// the work surface.
#include <algorithm>
#include <cmath>

#include "htmlview/basKinsoku.h"
#include "htmlview/basQuillet.h"
#include "htmlview/clsHTMLDrawState.h"
#include "platform/Checked.h"

using platform::checked::CLng;
using std::u32string;

namespace {

constexpr int32_t kIndentStep = 300;
// Lines start no further right than leaves room for this many full-width
// characters, however deep the indent.
constexpr int kMinLineRoom = 8;

bool IsCrLf(const u32string& s, size_t i) { return s[i] == U'\r' && i + 1 < s.size() && s[i + 1] == U'\n'; }

}  // namespace

// A closing mark that does not fit after a line may stay at its end, in the
// right margin, when nothing before it can be moved down: one mark a line.
bool clsHTML::DrawState::Hangs(char32_t c, double x, double w, double limit) const {
  return basKinsoku::NoLineStart(c) && x < limit && x + w <= mCanvas.ScaleWidth();
}

clsHTML::DrawState::DrawState(clsHTML& owner, platform::IPictureBox& canvas, platform::IPictureBox& work,
                              std::string& plain)
    : mOwner(owner), mCanvas(canvas), mWork(work), mPlain(plain) {}

void clsHTML::DrawState::GrowCanvas(double by) {
  mCanvas.SetHeight(mCanvas.Height() + by);
  mCanvas.Refresh();
}

void clsHTML::DrawState::LineEnd() {
  mCanvas.PrintLine("");
  mLastDrawn = 0;
}

double clsHTML::DrawState::LineStartLimit() const {
  const double limit = mCanvas.ScaleWidth() - mOwner.mlngRightMargin - kMinLineRoom * mCanvas.TextWidth("あ");
  return std::max(0.0, limit);
}

double clsHTML::DrawState::IndentX() const {
  return std::min(std::max<double>(Indent, 0) * kIndentStep, LineStartLimit());
}

void clsHTML::DrawState::NewLine() {
  LineEnd();
  mCanvas.SetCurrentX(IndentX());
  ListSpacers();
}

// Invisible bullets and numbers that keep continuation lines of a list item
// clear of its bullet or number; a run that would pass the furthest line
// start is cut there.
void clsHTML::DrawState::ListSpacers() {
  const double stop = LineStartLimit();
  const auto invisible = [&](bool& just, int32_t depth, const char* text) {
    if (just) {
      just = false;
      return;
    }
    const platform::OleColor fore = mCanvas.ForeColor();
    mCanvas.SetForeColor(static_cast<platform::OleColor>(mOwner.mlngBackColor));
    const double w = mCanvas.TextWidth(text);
    for (int32_t k = 0; k <= depth && mCanvas.CurrentX() + w <= stop; ++k) mCanvas.Print(text);
    mCanvas.SetForeColor(fore);
  };
  if (BulletDepth >= 0) invisible(BulletJust, BulletDepth, "・");
  if (NumberDepth >= 0) invisible(NumberJust, NumberDepth, "99.");
}

// A line wrap: inside a link the spot ends on this line and a new one
// starts on the next.
void clsHTML::DrawState::Wrap(LinkSpot*& spot, double pieceHeight) {
  GrowCanvas(pieceHeight);
  if (!spot) {
    NewLine();
    return;
  }
  spot->Right = CLng(mCanvas.CurrentX());
  NewLine();
  spot->Bottom = CLng(mCanvas.CurrentY());
  LinkSpot next;
  next.Target = spot->Target;
  next.Left = 0;
  next.Top = CLng(mCanvas.CurrentY());
  mOwner.mLinks.push_back(std::move(next));
  spot = &mOwner.mLinks.back();
  mCanvas.SetForeColor(static_cast<platform::OleColor>(mOwner.mlngLinkColor));
}

void clsHTML::DrawState::PrintRun(const u32string& piece, size_t from, size_t to, LinkSpot* spot) {
  for (size_t i = from; i < to; ++i) {
    const std::string ch = basQuillet::ToUtf8(piece[i]);
    mCanvas.Print(ch);
    if (spot) {
      spot->Right = CLng(mCanvas.CurrentX());
      spot->Bottom = CLng(mCanvas.CurrentY() + mCanvas.TextHeight(ch));
    }
  }
  if (to > from) mLastDrawn = piece[to - 1];
}

void clsHTML::DrawState::DrawPiece(const u32string& piece) {
  const std::string text = basQuillet::ToUtf8(piece);
  // The font does not change within a piece, so its height is measured once.
  const double pieceHeight = mCanvas.TextHeight(text);
  if (mCanvas.CurrentY() + pieceHeight >= mCanvas.ScaleHeight()) GrowCanvas(pieceHeight);
  if (Align != 0) {
    PrintAligned(piece);
    return;
  }
  if (AlignedPending) FlushAligned(PrevAlign);
  LinkSpot* spot = InLink && !mOwner.mLinks.empty() ? &mOwner.mLinks.back() : nullptr;
  if (spot) spot->Text = text;
  const double limit = mCanvas.ScaleWidth() - mOwner.mlngRightMargin;
  const size_t n = piece.size();
  // Characters from `run` to `i` are measured for the current line but not
  // yet printed, so that a wrap can still move some of them down.
  size_t run = 0, i = 0;
  double x = mCanvas.CurrentX();
  while (i < n) {
    if (IsCrLf(piece, i)) {
      PrintRun(piece, run, i, spot);
      i += 2;
      GrowCanvas(mCanvas.TextHeight("Ay"));
      NewLine();
      while (i < n && piece[i] == U' ') ++i;
      run = i;
      x = mCanvas.CurrentX();
      continue;
    }
    const double w = mCanvas.TextWidth(basQuillet::ToUtf8(piece[i]));
    if (x + w < limit) {
      x += w;
      ++i;
      continue;
    }
    // The character does not fit: wrap where a line may end and the next
    // begin.
    size_t at = i;
    if (run < i || mLastDrawn != 0) {
      at = basKinsoku::WrapPosition(piece, run, i, mLastDrawn);
      if (at == i && Hangs(piece[i], x, w, limit)) {
        x += w;
        ++i;
        continue;
      }
    }
    PrintRun(piece, run, at, spot);
    Wrap(spot, pieceHeight);
    // The character that starts the new line is printed there without
    // another test, as at the start of any wrapped line.
    run = at;
    x = mCanvas.CurrentX() + mCanvas.TextWidth(basQuillet::ToUtf8(piece[at]));
    i = at + 1;
  }
  PrintRun(piece, run, n, spot);
  mPlain += text;
  AlignedPending = false;
}

void clsHTML::DrawState::StartAligned() {
  // A new back colour clears the surface, and so does emptying the picture:
  // one clear is enough.
  if (mWork.BackColor() != mCanvas.BackColor()) mWork.SetBackColor(mCanvas.BackColor());
  mWork.ClearPicture();
  mWork.SetFont(mCanvas.Font());
  mWork.SetForeColor(mCanvas.ForeColor());
  AlignedPending = true;
  mAlignedAlign = Align;
  mAlignedLast = 0;
}

void clsHTML::DrawState::PrintAlignedRun(const u32string& piece, size_t from, size_t to) {
  if (to <= from) return;
  if (!AlignedPending) StartAligned();
  if (mWork.CurrentY() + mWork.TextHeight("Ay") >= mWork.ScaleHeight())
    mWork.SetHeight(mWork.Height() + mWork.TextHeight("Ay"));
  const std::string text = basQuillet::ToUtf8(piece.substr(from, to - from));
  const double left = mWork.CurrentX(), top = mWork.CurrentY();
  mWork.Print(text);
  if (InLink && !mOwner.mLinks.empty()) {
    // A link that goes on in a new aligned line gets a spot of its own there.
    if (mPlacedLink == mOwner.mLinks.size() - 1) {
      LinkSpot next;
      next.Target = mOwner.mLinks.back().Target;
      mOwner.mLinks.push_back(std::move(next));
    }
    mOwner.mLinks.back().Text = text;
    mAlignedLinks.push_back({mOwner.mLinks.size() - 1, left, top, mWork.CurrentX(), top + mWork.TextHeight(text)});
  }
  mAlignedLast = piece[to - 1];
}

// An aligned piece goes to the work surface; a line that reaches the right
// margin or ends in a line break is copied into place and the text goes on
// in a new aligned line.
void clsHTML::DrawState::PrintAligned(const u32string& piece) {
  // A line of another alignment is finished with its own.
  if (AlignedPending && mAlignedAlign != Align) FlushAligned(mAlignedAlign);
  if (AlignedPending) {
    mWork.SetFont(mCanvas.Font());
    mWork.SetForeColor(mCanvas.ForeColor());
  }
  const double limit = mCanvas.ScaleWidth() - mOwner.mlngRightMargin;
  const size_t n = piece.size();
  size_t run = 0, i = 0;
  double x = AlignedPending ? mWork.CurrentX() : 0;
  // The work surface prints in the canvas's font.
  const auto width = [&](char32_t c) { return mCanvas.TextWidth(basQuillet::ToUtf8(c)); };
  while (i < n) {
    if (IsCrLf(piece, i)) {
      PrintAlignedRun(piece, run, i);
      if (AlignedPending) {
        FlushAligned(Align);
      } else {
        GrowCanvas(mCanvas.TextHeight("Ay"));
        LineEnd();
      }
      i += 2;
      while (i < n && piece[i] == U' ') ++i;
      run = i;
      x = 0;
      continue;
    }
    const double w = width(piece[i]);
    if (x + w < limit || (run == i && mAlignedLast == 0)) {
      x += w;
      ++i;
      continue;
    }
    const size_t at = basKinsoku::WrapPosition(piece, run, i, mAlignedLast);
    if (at == i && Hangs(piece[i], x, w, limit)) {
      x += w;
      ++i;
      continue;
    }
    PrintAlignedRun(piece, run, at);
    FlushAligned(Align);
    // The new line takes its first character without a test.
    run = i = at;
    x = 0;
  }
  PrintAlignedRun(piece, run, n);
  mPlain += basQuillet::ToUtf8(piece);
}

void clsHTML::DrawState::FlushAligned(int16_t align) {
  // The next aligned line starts with nothing drawn on it.
  mAlignedLast = 0;
  const double tppX = basQuillet::TwipsPerPixelX();
  const double tppY = basQuillet::TwipsPerPixelY();
  const double w = mWork.CurrentX();
  double x;
  if (align == 1) x = (mCanvas.ScaleWidth() - mOwner.mlngRightMargin - w) / 2;
  else if (align == 2) x = mCanvas.ScaleWidth() - w - mOwner.mlngRightMargin;
  else {
    AlignedPending = false;
    mAlignedLinks.clear();
    return;
  }
  if (x < 0) x = 0;
  x = CLng(x);
  GrowCanvas(mWork.TextHeight("Ay"));
  const int32_t dstX = CLng(x / tppX);
  const int32_t dstY = CLng(mCanvas.CurrentY() / tppY) + 1;
  // Only the printed part of the work surface is copied; the rest is
  // background on both.
  const int32_t widthPx = std::max<int32_t>(1, static_cast<int32_t>(std::ceil(w / tppX)));
  const int32_t heightPx =
      std::max<int32_t>(1, static_cast<int32_t>(std::ceil((mWork.CurrentY() + mWork.TextHeight("Ay")) / tppY)));
  mCanvas.PaintPicture(mWork, 0, 0, widthPx, heightPx, dstX, dstY, widthPx, heightPx);
  const double top = mCanvas.CurrentY() + tppY;
  for (const auto& piece : mAlignedLinks) {
    LinkSpot& spot = mOwner.mLinks[piece.Link];
    const auto l = CLng(x + piece.Left), t = CLng(top + piece.Top), r = CLng(x + piece.Right),
               b = CLng(top + piece.Bottom);
    if (spot.Right == 0 && spot.Bottom == 0) {
      spot.Left = l, spot.Top = t, spot.Right = r, spot.Bottom = b;
    } else {
      spot.Left = std::min(spot.Left, l), spot.Top = std::min(spot.Top, t);
      spot.Right = std::max(spot.Right, r), spot.Bottom = std::max(spot.Bottom, b);
    }
  }
  mPlacedLink = mAlignedLinks.empty() ? std::string::npos : mAlignedLinks.back().Link;
  mAlignedLinks.clear();
  LineEnd();
  AlignedPending = false;
}
