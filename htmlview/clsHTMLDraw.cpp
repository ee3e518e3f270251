// The drawing walk of clsHTML: one pass over the prepared text that splits
// it into text pieces, entities and tags and draws as it goes.
#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "htmlview/basHTML.h"
#include "htmlview/basQuillet.h"
#include "htmlview/clsHTMLDrawState.h"
#include "platform/Checked.h"

using platform::IPictureBox;
using platform::checked::CLng;
using std::u32string;

namespace {

const u32string kCrLf = U"\r\n";

bool IsOneOf(const u32string& tag, std::initializer_list<const char32_t*> names) {
  for (const char32_t* name : names)
    if (tag == name) return true;
  return false;
}

// The 16-bit size an attribute number gives; a number outside the range
// counts as no size.
int16_t SizeNumber(double v) {
  if (!std::isfinite(v) || v < -32768.0 || v > 32767.0) return 0;
  return static_cast<int16_t>(v);
}

bool StartsWithNoCase(const u32string& text, const u32string& prefix) {
  if (text.size() < prefix.size()) return false;
  return basHTML::UpperAscii(text.substr(0, prefix.size())) == basHTML::UpperAscii(prefix);
}

// The next occurrence of one character at or after a position that only
// moves forward: each part of the text is searched once, so a walk that asks
// again and again stays linear.
class NextOf {
 public:
  NextOf(const u32string& text, char32_t c) : mText(text), mChar(c) {}
  size_t From(size_t pos) {
    if (!mSearched || (mAt != u32string::npos && mAt < pos)) {
      mAt = mText.find(mChar, pos);
      mSearched = true;
    }
    return mAt;
  }

 private:
  const u32string& mText;
  char32_t mChar;
  size_t mAt = u32string::npos;
  bool mSearched = false;
};

// One less, but not below the floor: closing tags without their opening
// tag do not take indents and list depths below nothing.
void Decrease(int32_t& value, int32_t floor) {
  if (value > floor) --value;
}

}  // namespace

bool clsHTML::DrawDocument(const u32string& html, IPictureBox& canvas, IPictureBox& work, std::string& plainText) {
  const double tppX = basQuillet::TwipsPerPixelX();
  const double tppY = basQuillet::TwipsPerPixelY();
  std::string plain;
  DrawState st(*this, canvas, work, plain);
  mblnAnchorMissing = false;

  // Start of the walk.
  canvas.SetBackColor(static_cast<platform::OleColor>(mlngBackColor));
  canvas.SetForeColor(static_cast<platform::OleColor>(mlngTextColor));
  canvas.SetFontSize(basHTML::HtmlSizeToPoints(mintBaseFont, false) * msngScale);
  st.BaseSize = platform::checked::CInt(basHTML::HtmlSizeToPoints(mintBaseFont, false) * msngScale);

  const size_t body = basHTML::UpperAscii(html).find(U"<BODY");
  if (body == u32string::npos) {
    mstrDispError = "<BODY> タグがありません";
    return false;
  }
  size_t pos = body;
  st.On = mstrCurName.empty();
  if (!mstrCurName.empty()) {
    for (size_t i = 0; i < mAnchors.size(); ++i) {
      if (mAnchors[i].Name == mstrCurName) {
        if (i > 0) pos = static_cast<size_t>(mAnchors[i - 1].Position - 1);
        break;
      }
    }
  }
  // Drawing that never started: the current anchor is not in the document.
  const auto finish = [&](bool done) {
    mblnAnchorMissing = !st.On;
    return done;
  };
  // A walk stopped by the markup: why, for the host.
  const auto stop = [&](std::string why) {
    mstrDispError = std::move(why);
    return finish(false);
  };
  const auto quoted = [](const u32string& value) { return "\"" + basQuillet::ToUtf8(value) + "\""; };
  std::unordered_set<std::string> anchorNames;
  for (const AnchorEntry& a : mAnchors) anchorNames.insert(a.Name);

  const auto drawImage = [&]() {
    st.ImagePending = false;
    bool loaded = true;
    work.SetAutoSize(true);
    try {
      std::string src = basQuillet::ToUtf8(st.ImagePath);
      std::replace(src.begin(), src.end(), '\\', '/');
      work.LoadPicture(mstrBaseDir + src);
    } catch (const platform::RuntimeError&) {
      loaded = false;
    }
    if (!loaded) {
      work.SetAutoSize(false);
      if (st.ImageWidth > 0 && st.ImageHeight > 0) {
        const double x = CLng(canvas.CurrentX()), y = CLng(canvas.CurrentY());
        const double w = st.ImageWidth * tppX, h = st.ImageHeight * tppY;
        if (y + h >= canvas.ScaleHeight()) st.GrowCanvas(h);
        canvas.Box(x, y, x + w, y + h, 0);
        canvas.Line(x, y, x + w, y + h, 0);
        canvas.Line(x + w, y, x, y + h, 0);
      }
      return;
    }
    work.SetAutoSize(false);
    const double stretched = st.ImageHeight * tppY;
    const double h = std::max(work.Height(), stretched);
    if (canvas.CurrentY() + h >= canvas.ScaleHeight()) st.GrowCanvas(h);
    const int32_t dstX = CLng(canvas.CurrentX() / tppX);
    const int32_t dstY = CLng(canvas.CurrentY() / tppY) + 1;
    int32_t drawnHeight;
    if (st.ImageWidth < 1 || st.ImageHeight < 1) {
      const int32_t w = CLng(work.ScaleWidth() / tppX), hp = CLng(work.ScaleHeight() / tppY);
      canvas.PaintPicture(work, 0, 0, w, hp, dstX, dstY, w, hp);
      drawnHeight = hp;
    } else {
      canvas.PaintPicture(work, 0, 0, CLng(work.ScaleWidth() / tppX), CLng(work.ScaleHeight() / tppY), dstX, dstY,
                          st.ImageWidth, st.ImageHeight);
      drawnHeight = st.ImageHeight;
    }
    st.LineEnd();
    // Text goes on below the image, not over it.
    const double below = (dstY + drawnHeight) * tppY;
    if (canvas.CurrentY() < below) canvas.SetCurrentY(below);
    work.ClearPicture();
    work.SetWidth(canvas.Width());
  };

  // ALIGN in "P *" and "H# *": false when its value is empty.
  const auto handleAlign = [&](const u32string& upper, size_t from, u32string& piece) {
    const size_t at = basHTML::FindAttribute(upper, U"ALIGN", from);
    if (at == u32string::npos) return true;
    const u32string value = basHTML::AttributeValue(upper, at + 1);
    if (value.empty()) {
      mstrDispError = "ALIGN の値がありません";
      return false;
    }
    if (value == U"RIGHT") {
      piece = U" ";
      st.PrevAlign = st.Align;
      st.Align = 2;
    } else if (value == U"LEFT") {
      st.PrevAlign = st.Align;
      st.Align = 0;
    } else if (value == U"CENTER") {
      piece = U" ";
      st.PrevAlign = st.Align;
      st.Align = 1;
    }
    return true;
  };
  const auto colorOf = [&](const u32string& upper, const char32_t* keyword, bool& present, int32_t& color) {
    const size_t at = basHTML::FindAttribute(upper, keyword);
    present = at != u32string::npos;
    if (!present) return true;
    const u32string value = basHTML::AttributeValue(upper, at);
    const std::string where = basQuillet::ToUtf8(upper.substr(0, upper.find(U' '))) + " の " +
                              basQuillet::ToUtf8(keyword);
    if (value.empty()) {
      mstrDispError = where + " の値がありません";
      return false;
    }
    color = basHTML::ParseColor(value);
    if (color == -1) mstrDispError = where + " の値 " + quoted(value) + " は色ではありません";
    return color != -1;
  };
  const auto setBold = [&](bool on) {
    auto f = canvas.Font();
    f.Bold = on;
    canvas.SetFont(f);
  };

  NextOf nextLt(html, U'<'), nextGt(html, U'>'), nextSemi(html, U';');
  u32string prevTag;
  const size_t len = html.size();
  while (pos < len) {
    u32string piece;
    const char32_t c = html[pos];
    if (c == U'<') {
      const size_t gt = nextGt.From(pos + 1);
      if (gt == u32string::npos) return stop("タグが \">\" で閉じていません");
      // Line ends inside a tag became spaces; they do not belong to its name.
      size_t tagEnd = gt;
      while (tagEnd > pos + 1 && (html[tagEnd - 1] == U' ' || html[tagEnd - 1] == U'\t')) --tagEnd;
      const u32string tag = html.substr(pos + 1, tagEnd - pos - 1);
      const u32string upper = basHTML::UpperAscii(tag);
      const size_t tagPos = pos;
      pos = gt + 1;
      const bool listCheck = IsOneOf(prevTag, {U"/UL", U"/OL", U"/DL", U"LI", U"/LI"});
      using basHTML::Like;
      if (upper == U"/BODY") {
        pos = len;
      } else if (IsOneOf(upper, {U"B", U"BOLD", U"STRONG"})) {
        setBold(true);
      } else if (IsOneOf(upper, {U"/B", U"/BOLD", U"/STRONG"})) {
        setBold(false);
      } else if (IsOneOf(upper, {U"I", U"ITALIC"})) {
        auto f = canvas.Font();
        f.Italic = true;
        canvas.SetFont(f);
      } else if (IsOneOf(upper, {U"/I", U"/ITALIC"})) {
        auto f = canvas.Font();
        f.Italic = false;
        canvas.SetFont(f);
      } else if (IsOneOf(upper, {U"/FONT", U"/FONT/"})) {
        if (st.ColorChanged) {
          canvas.SetForeColor(static_cast<platform::OleColor>(mlngTextColor));
          st.ColorChanged = false;
        }
        if (st.SizeChanged) {
          canvas.SetFontSize(st.BaseSize);
          st.SizeChanged = false;
        }
      } else if (upper == U"/A") {
        canvas.SetForeColor(static_cast<platform::OleColor>(mlngTextColor));
        auto f = canvas.Font();
        f.Underline = false;
        canvas.SetFont(f);
        st.InLink = false;
      } else if (upper == U"BLOCKQUOTE") {
        if (st.On) ++st.Indent;
      } else if (upper == U"/BLOCKQUOTE") {
        if (st.On) Decrease(st.Indent, 0);
      } else if (upper == U"OL") {
        if (st.On) {
          ++st.Indent;
          ++st.NumberDepth;
          st.Counters.resize(static_cast<size_t>(st.NumberDepth) + 1, 0);
        }
      } else if (upper == U"/OL") {
        if (st.On) {
          // Without an open numbered list there is nothing to close.
          if (st.NumberDepth >= 0) {
            Decrease(st.Indent, 0);
            st.Counters[static_cast<size_t>(st.NumberDepth)] = 0;
            --st.NumberDepth;
          }
          if (!listCheck) piece = kCrLf;
        }
      } else if (upper == U"UL") {
        if (st.On) {
          ++st.Indent;
          ++st.BulletDepth;
        }
      } else if (upper == U"/UL") {
        if (st.On) {
          if (st.BulletDepth >= 0) {
            Decrease(st.Indent, 0);
            --st.BulletDepth;
          }
          if (!listCheck) piece = kCrLf;
        }
      } else if (upper == U"DL") {
      } else if (upper == U"/DL") {
        if (st.On && !listCheck) piece = kCrLf;
      } else if (upper == U"LI") {
        if (st.On) {
          canvas.SetCurrentX(st.IndentX());
          if (st.NumberDepth >= 0) {
            int32_t& counter = st.Counters[static_cast<size_t>(st.NumberDepth)];
            ++counter;
            const u32string number = U"　" + basQuillet::ToChars(std::to_string(counter));
            piece = kCrLf + number.substr(number.size() - 2) + U" . ";
            st.NumberJust = true;
          } else if (st.BulletDepth >= 0) {
            piece = kCrLf + U"・";
            st.BulletJust = true;
          } else {
            // An item outside any list still starts a line of its own.
            piece = kCrLf;
          }
        }
      } else if (upper == U"DT") {
        if (st.On) piece = kCrLf;
      } else if (upper == U"/DT") {
      } else if (upper == U"DD") {
        if (st.On) {
          ++st.Indent;
          piece = kCrLf;
        }
      } else if (upper == U"/DD") {
        if (st.On) Decrease(st.Indent, 0);
      } else if (upper == U"/LI") {
      } else if (upper == U"CENTER") {
        if (st.On) {
          piece = U" ";
          st.PrevAlign = st.Align;
          st.Align = 1;
        }
      } else if (upper == U"/CENTER") {
        st.PrevAlign = st.Align;
        st.Align = 0;
      } else if (upper == U"/TABLE") {
        canvas.SetForeColor(static_cast<platform::OleColor>(mlngSavedColor));
      } else if (upper == U"/TR" || upper == U"BR") {
        if (st.On) {
          piece = kCrLf;
          plain += "\r\n";
        }
      } else if (IsOneOf(upper, {U"STRIKE", U"S"})) {
        auto f = canvas.Font();
        f.Strikethrough = true;
        canvas.SetFont(f);
      } else if (IsOneOf(upper, {U"/STRIKE", U"/S"})) {
        auto f = canvas.Font();
        f.Strikethrough = false;
        canvas.SetFont(f);
      } else if (upper == U"HR") {
        if (st.On) {
          if (canvas.CurrentY() == 0) st.LineEnd();
          if (canvas.CurrentX() > 0) st.LineEnd();
          const double y = canvas.CurrentY();
          canvas.Line(0, y, canvas.ScaleWidth(), y, 0);
        }
      } else if (upper == U"P") {
        if (st.On) piece = kCrLf;
      } else if (upper == U"/P") {
        st.PrevAlign = st.Align;
        st.Align = 0;
        if (st.On) piece = kCrLf;
      } else if (Like(upper, U"IMG *")) {
        const u32string rest = basHTML::TrimSpaces(upper.substr(4));
        if (Like(rest, U"SRC=*") && st.On) {
          const size_t srcAt = upper.find(U"SRC");
          st.ImagePending = true;
          st.ImagePath = basHTML::AttributeValue(tag, tag.find(U'='));
          const size_t widthAt = basHTML::FindAttribute(upper, U"WIDTH", srcAt);
          st.ImageWidth = 0;
          st.ImageHeight = 0;
          if (widthAt != u32string::npos)
            st.ImageWidth = SizeNumber(basQuillet::NumericOrZero(basQuillet::ToUtf8(basHTML::AttributeValue(upper, widthAt))));
          const size_t heightAt =
              basHTML::FindAttribute(upper, U"HEIGHT", widthAt != u32string::npos ? widthAt : srcAt);
          if (heightAt != u32string::npos)
            st.ImageHeight =
                SizeNumber(basQuillet::NumericOrZero(basQuillet::ToUtf8(basHTML::AttributeValue(upper, heightAt))));
        }
      } else if (Like(upper, U"!--*")) {
        if (mblnEnableDispEnd && st.On &&
            StartsWithNoCase(basHTML::TrimSpaces(tag.substr(3)), U"Quillet.EndOfTopic"))
          pos = len;
      } else if (Like(upper, U"A *")) {
        const u32string rest = basHTML::TrimSpaces(upper.substr(2));
        if (Like(rest, U"HREF=*")) {
          canvas.SetForeColor(static_cast<platform::OleColor>(mlngLinkColor));
          auto f = canvas.Font();
          f.Underline = true;
          canvas.SetFont(f);
          st.InLink = true;
          LinkSpot spot;
          spot.Target = basQuillet::ToUtf8(basHTML::AttributeValue(tag, tag.find(U'=')));
          spot.Left = CLng(canvas.CurrentX());
          spot.Top = CLng(canvas.CurrentY());
          mLinks.push_back(std::move(spot));
        } else if (Like(rest, U"NAME=*")) {
          const std::string name = basQuillet::ToUtf8(basHTML::AttributeValue(tag, tag.find(U'=')));
          if (!mstrCurName.empty() && name == mstrCurName) st.On = true;
          if (!name.empty() && anchorNames.insert(name).second)
            mAnchors.push_back({static_cast<int32_t>(tagPos + 1), name});
        }
      } else if (Like(upper, U"P *")) {
        piece = kCrLf;
        canvas.SetCurrentY(canvas.CurrentY() + canvas.TextHeight("y") / 2);
        if (!handleAlign(upper, 0, piece)) return stop(mstrDispError);
      } else if (Like(upper, U"H# *") || Like(upper, U"H#")) {
        const auto level = static_cast<int16_t>(upper[1] - U'0');
        canvas.SetFontSize(basHTML::HtmlSizeToPoints(level, true) * msngScale);
        if (level <= 4) setBold(true);
        if (st.On) piece = kCrLf;
        if (upper.size() > 2 && !handleAlign(upper, 3, piece)) return stop(mstrDispError);
      } else if (Like(upper, U"/H#")) {
        auto f = canvas.Font();
        f.Bold = false;
        f.Size = basHTML::HtmlSizeToPoints(mintBaseFont, false) * msngScale;
        canvas.SetFont(f);
        st.PrevAlign = st.Align;
        st.Align = 0;
        if (st.On) piece = kCrLf;
      } else if (Like(upper, U"TABLE *")) {
        piece = kCrLf;
        plain += "\r\n";
        mlngSavedColor = static_cast<int32_t>(canvas.ForeColor());
        canvas.SetForeColor(static_cast<platform::OleColor>(mlngTextColor));
      } else if (Like(upper, U"BASEFONT *")) {
        const size_t at = basHTML::FindAttribute(upper, U"SIZE");
        if (at == u32string::npos) return stop("BASEFONT に SIZE がありません");
        const u32string value = basHTML::AttributeValue(upper, at + 1);
        if (value.empty()) return stop("BASEFONT の SIZE の値がありません");
        mintBaseFont = SizeNumber(basQuillet::NumericOrZero(basQuillet::ToUtf8(value)));
        st.BaseSize = basHTML::HtmlSizeToPoints(mintBaseFont, false);
      } else if (Like(upper, U"BODY *")) {
        bool present = false;
        int32_t color = 0;
        if (!colorOf(upper, U"BGCOLOR", present, color)) return stop(mstrDispError);
        if (present) {
          mlngBackColor = color;
          canvas.SetBackColor(static_cast<platform::OleColor>(color));
        }
        if (!colorOf(upper, U"TEXT", present, color)) return stop(mstrDispError);
        if (present) {
          canvas.SetForeColor(static_cast<platform::OleColor>(color));
          mlngTextColor = color;
        }
        if (!colorOf(upper, U"LINK", present, color)) return stop(mstrDispError);
        if (present) mlngLinkColor = color;
      } else if (Like(upper, U"FONT *")) {
        bool present = false;
        int32_t color = 0;
        if (!colorOf(upper, U"COLOR", present, color)) return stop(mstrDispError);
        if (present) {
          canvas.SetForeColor(static_cast<platform::OleColor>(color));
          st.ColorChanged = true;
        }
        const size_t at = basHTML::FindAttribute(upper, U"SIZE");
        if (at != u32string::npos) {
          const u32string value = basHTML::AttributeValue(upper, at + 1);
          if (value.empty()) return stop("FONT の SIZE の値がありません");
          const double v = basQuillet::NumericOrZero(basQuillet::ToUtf8(value));
          const double size = (v < 0 || value[0] == U'+') ? mintBaseFont + v : v;
          const int16_t points = basHTML::HtmlSizeToPoints(SizeNumber(size), false);
          if (points == 0) return stop("FONT の SIZE の値 " + quoted(value) + " は大きさ 1 から 7 の範囲を外れます");
          canvas.SetFontSize(points * msngScale);
          st.SizeChanged = true;
        }
      }
      prevTag = upper;
    } else if (c == U'&') {
      const size_t semi = nextSemi.From(pos + 1);
      if (semi == u32string::npos) {
        ++pos;
      } else {
        const u32string name = html.substr(pos + 1, semi - pos - 1);
        pos = semi + 1;
        if (name == U"gt") piece = U">";
        else if (name == U"lt") piece = U"<";
        else if (name == U"quot") piece = U"\"";
        else if (name == U"amp") piece = U"&";
        else if (name == U"nbsp") piece = U" ";
        else piece = name;
      }
    } else if (c == U'\r' || c == U'\n') {
      ++pos;
    } else {
      const size_t lt = nextLt.From(pos);
      if (lt == u32string::npos) {
        piece = html.substr(pos, 1);
        ++pos;
      } else {
        // The piece ends at the next tag, or at an entity before it.
        const size_t end = static_cast<size_t>(
            std::find(html.begin() + static_cast<std::ptrdiff_t>(pos), html.begin() + static_cast<std::ptrdiff_t>(lt),
                      U'&') -
            html.begin());
        piece = basHTML::TrimSpaces(html.substr(pos, end - pos));
        pos = end;
      }
    }

    if (st.ImagePending && st.On) drawImage();
    if (!piece.empty() && st.On) st.DrawPiece(piece);
  }

  // End of the walk. A centred or right-aligned last line is shown too,
  // also when its alignment was never closed.
  if (st.AlignedPending) st.FlushAligned(st.Align != 0 ? st.Align : st.PrevAlign);
  plainText = std::move(plain);
  st.LineEnd();
  st.LineEnd();
  canvas.SetHeight(canvas.CurrentY());
  return finish(true);
}
