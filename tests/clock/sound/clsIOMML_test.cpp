#include "clock/sound/clsIOMML.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RuntimeError.h"

namespace {

struct Parsed {
  std::vector<int> Pitches;
  std::vector<int> Lengths;
  std::vector<int> Modes;
  int Tempo = 0;
};

Parsed Parse(const std::string& text) {
  clsIOMML mml;
  mml.SetNotesCommand(text);
  EXPECT_EQ(mml.MakeSoundData(), 0) << text;
  Parsed out;
  for (int16_t i = 0; i < mml.SoundDataCount(); ++i) {
    out.Pitches.push_back(mml.NotePitch(i));
    out.Lengths.push_back(mml.NoteLength(i));
    out.Modes.push_back(mml.NoteMode(i));
  }
  out.Tempo = mml.Tempo();
  return out;
}

using V = std::vector<int>;

TEST(clsIOMML, NotesOctavesAndDefaultLengths) {
  Parsed p = Parse("CDE");
  EXPECT_EQ(p.Pitches, (V{48, 50, 52}));
  EXPECT_EQ(p.Lengths, (V{16, 16, 16}));
  EXPECT_EQ(p.Tempo, 120);

  p = Parse("O5C8D");  // the 8 after C becomes the default
  EXPECT_EQ(p.Pitches, (V{60, 62}));
  EXPECT_EQ(p.Lengths, (V{8, 8}));

  EXPECT_EQ(Parse("L8CD4E").Lengths, (V{8, 16, 16}));
  EXPECT_EQ(Parse("CDE16").Lengths, (V{16, 16, 4}));  // a number ending the text is read whole

  p = Parse("T200O3A");
  EXPECT_EQ(p.Tempo, 200);
  EXPECT_EQ(p.Pitches, (V{45}));

  EXPECT_EQ(Parse("<<<<<<C").Pitches, (V{0}));  // the octave stops at 0
  EXPECT_EQ(Parse("o4a>c<<b").Pitches, (V{57, 60, 47}));  // commands are case-insensitive
  EXPECT_EQ(Parse("CPD").Pitches, (V{48, -1, 50}));
}

TEST(clsIOMML, DotsAndAccidentals) {
  EXPECT_EQ(Parse("C.D.").Lengths, (V{24, 24}));  // the dot count restarts at each note
  EXPECT_EQ(Parse("C4..").Lengths, (V{28}));
  EXPECT_EQ(Parse("C8.").Lengths, (V{12}));
  EXPECT_EQ(Parse(".C").Lengths, (V{16}));  // a leading dot is skipped
  EXPECT_EQ(Parse("C#C+D-").Pitches, (V{49, 49, 49}));
  EXPECT_EQ(Parse("#C").Pitches, (V{48}));  // an accidental before any note does nothing
}

TEST(clsIOMML, ArticulationModes) {
  EXPECT_EQ(Parse("MSCDE").Modes, (V{2, 2, 2}));
  EXPECT_EQ(Parse("CMLD").Modes, (V{1, 1}));
  // The letter after M is consumed whatever it is.
  EXPECT_EQ(Parse("MCDE").Pitches, (V{50, 52}));
}

TEST(clsIOMML, TextsWithoutNotes) {
  clsIOMML mml;
  mml.SetTempo(77);
  mml.SetNotesCommand("");
  EXPECT_EQ(mml.MakeSoundData(), -1);
  EXPECT_EQ(mml.SoundDataCount(), 0);
  EXPECT_EQ(mml.Tempo(), 77);

  Parsed p = Parse("xyz");
  EXPECT_TRUE(p.Pitches.empty());
  EXPECT_EQ(p.Tempo, 120);

  // Non-ASCII characters are skipped like any unknown letter.
  EXPECT_EQ(Parse("ドレミCD").Pitches, (V{48, 50}));
  EXPECT_EQ(Parse("TA C").Tempo, 0);  // a letter after T gives 0 and is consumed
}

TEST(clsIOMML, ConvertingAgainDiscardsTheOldEntries) {
  clsIOMML mml;
  mml.SetNotesCommand("CDEFG");
  mml.MakeSoundData();
  mml.SetNotesCommand("A");
  mml.MakeSoundData();
  ASSERT_EQ(mml.SoundDataCount(), 1);
  EXPECT_EQ(mml.NotePitch(0), 57);
}

// Runs a conversion that must fail; returns the error number and the
// object's state after it.
int FailingNumber(clsIOMML& mml, const std::string& text) {
  mml.SetNotesCommand(text);
  try {
    mml.MakeSoundData();
  } catch (const platform::RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(clsIOMML, ErrorsKeepTheEntriesMadeBeforeThem) {
  clsIOMML mml;
  mml.SetTempo(90);
  EXPECT_EQ(FailingNumber(mml, "CDT"), 5);  // T as the last character
  EXPECT_EQ(mml.SoundDataCount(), 2);
  EXPECT_EQ(mml.Tempo(), 90);
  EXPECT_EQ(FailingNumber(mml, "CO"), 5);
  EXPECT_EQ(FailingNumber(mml, "L"), 5);

  EXPECT_EQ(FailingNumber(mml, "CDL0E"), 11);
  EXPECT_EQ(mml.SoundDataCount(), 2);
  EXPECT_EQ(FailingNumber(mml, "C0"), 11);
  EXPECT_EQ(mml.SoundDataCount(), 1);
  EXPECT_EQ(FailingNumber(mml, "LCD"), 11);  // L reads 0 from a non-number
  EXPECT_EQ(mml.SoundDataCount(), 0);

  EXPECT_EQ(FailingNumber(mml, "CT40000"), 6);
  EXPECT_EQ(mml.SoundDataCount(), 1);
  EXPECT_EQ(FailingNumber(mml, "O3000C"), 6);  // 12 × 3000 leaves the 16-bit range
  EXPECT_EQ(mml.SoundDataCount(), 0);
  EXPECT_EQ(mml.Tempo(), 90);

  EXPECT_THROW(mml.NotePitch(0), platform::RuntimeError);
  mml.SetNotesCommand("C");
  mml.MakeSoundData();
  try {
    mml.NoteLength(1);
    FAIL();
  } catch (const platform::RuntimeError& e) {
    EXPECT_EQ(e.Number(), 9);
  }
}

TEST(clsIOMML, OverlongTextOverflowsThePosition) {
  clsIOMML mml;
  EXPECT_EQ(FailingNumber(mml, std::string(40000, ' ') + "C"), 6);
  EXPECT_EQ(mml.SoundDataCount(), 0);
}

}  // namespace
