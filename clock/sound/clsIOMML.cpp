#include "clock/sound/clsIOMML.h"

#include <cctype>

#include "common/basGeneral.h"
#include "platform/Checked.h"
#include "platform/RuntimeError.h"

using namespace platform::checked;

namespace {

// The text with every non-ASCII character shrunk to one placeholder byte, so
// that byte positions are character positions. The parser knows only ASCII
// commands and skips everything else.
std::string OneBytePerCharacter(const std::string& vstrText) {
  std::string out;
  out.reserve(vstrText.size());
  for (unsigned char c : vstrText) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if ((c & 0xC0) != 0x80) {
      out.push_back('\x01');  // lead byte of a multi-byte character
    }
  }
  return out;
}

// 64 / length, rounded; a length of 0 is error 11.
int16_t LengthOf(int16_t vintLength) { return CInt(Div(64.0, vintLength)); }

}  // namespace

clsIOMML::clsIOMML() = default;

void clsIOMML::ResetNoteData() {
  static constexpr std::array<uint8_t, 7> kBaseC{9, 11, 0, 2, 4, 5, 7};
  static constexpr std::array<uint8_t, 7> kBaseA{9, 11, 12, 14, 16, 17, 19};
  mbytLetter = mintBaseC ? kBaseC : kBaseA;
  mudtNotes.clear();
  mintLastIndex = -1;
}

void clsIOMML::AppendEntry(int16_t vintPitch, int16_t vintLength, int16_t vintMode) {
  const int16_t next = Add16(mintLastIndex, 1);
  mudtNotes.push_back(NoteEntry{vintPitch, vintLength, vintMode});
  mintLastIndex = next;
}

const clsIOMML::NoteEntry& clsIOMML::Entry(int16_t vintIndex) const {
  if (vintIndex < 0 || vintIndex > mintLastIndex) platform::RaiseError(platform::errSubscriptRange);
  return mudtNotes[static_cast<size_t>(vintIndex)];
}

int16_t clsIOMML::MakeSoundData() {
  ResetNoteData();
  if (mstrNotesCommand.empty()) return -1;

  const std::string text = OneBytePerCharacter(mstrNotesCommand);
  const auto size = static_cast<int64_t>(text.size());
  int16_t p = 1;
  int16_t t = 120;
  int16_t o = 4;
  int16_t lngDefault = 4;
  int16_t m = 0;
  bool blnNoteExists = false;
  int16_t d = 0;

  // Reads a number at p (the position must exist) and moves p past it.
  auto readValue = [&]() -> int16_t {
    if (p > size) platform::RaiseError(platform::errInvalidCall);
    int32_t position = p;
    const double value = basGeneral::ReadNumber(text, position);
    p = ToInt16(position);
    return CInt(value);
  };
  auto last = [&]() -> NoteEntry& { return mudtNotes[static_cast<size_t>(mintLastIndex)]; };

  while (p <= size) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[static_cast<size_t>(p - 1)])));
    if (c >= 'A' && c <= 'G') {
      p = Add16(p, 1);
      int16_t pitch = Add16(Mul16(12, o), mbytLetter[static_cast<size_t>(c - 'A')]);
      if (!mintBaseC) pitch = Sub16(pitch, 12);
      AppendEntry(pitch, LengthOf(lngDefault), m);
      blnNoteExists = true;
      d = 0;
    } else if (c == 'P') {
      p = Add16(p, 1);
      AppendEntry(-1, LengthOf(lngDefault), m);
      blnNoteExists = true;
      d = 0;
    } else if (c == 'L') {
      p = Add16(p, 1);
      lngDefault = readValue();
    } else if (c >= '0' && c <= '9') {
      const int16_t v = readValue();
      if (blnNoteExists) {
        lngDefault = v;
        d = 0;
        last().Length = LengthOf(v);
      }
    } else if (c == '.') {
      if (blnNoteExists) {
        d = Add16(d, 1);
        float h = static_cast<float>(Div(64.0, lngDefault));
        double length = 0;
        for (int32_t i = 0; i <= d; ++i) {
          length = CInt(length + h);
          h = h / 2.0f;
        }
        last().Length = static_cast<int16_t>(length);
      }
      p = Add16(p, 1);
    } else if (c == 'O') {
      p = Add16(p, 1);
      o = readValue();
    } else if (c == '>') {
      p = Add16(p, 1);
      o = Add16(o, 1);
    } else if (c == '<') {
      p = Add16(p, 1);
      if (o > 0) o = Sub16(o, 1);
    } else if (c == '#' || c == '+') {
      p = Add16(p, 1);
      if (blnNoteExists) last().Pitch = Add16(last().Pitch, 1);
    } else if (c == '-') {
      p = Add16(p, 1);
      if (blnNoteExists) last().Pitch = Sub16(last().Pitch, 1);
    } else if (c == 'T') {
      p = Add16(p, 1);
      t = readValue();
    } else if (c == 'M') {
      p = Add16(p, 1);
      const char mode = p <= size ? static_cast<char>(std::toupper(static_cast<unsigned char>(text[static_cast<size_t>(p - 1)]))) : '\0';
      if (mode == 'L') m = 1;
      if (mode == 'N') m = 0;
      if (mode == 'S') m = 2;
      if (blnNoteExists) last().Mode = m;
      p = Add16(p, 1);
    } else {
      p = Add16(p, 1);
    }
  }
  mintTempo = t;
  return 0;
}
