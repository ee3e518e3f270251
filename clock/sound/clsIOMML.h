#pragma once
// A melody in the program's MML dialect, turned into note entries: for each
// note or rest a pitch number, a length in 64ths of a whole note and an
// articulation mode, plus one tempo for the whole melody.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class clsIOMML {
 public:
  // One note or rest. Pitch: 12 × octave + semitone (O4A = 57), −1 = rest.
  struct NoteEntry {
    int16_t Pitch = 0;
    int16_t Length = 0;
    int16_t Mode = 0;  // 0 normal, 1 legato, 2 staccato (recorded only)
  };

  clsIOMML();

  // True (−1): octave numbers change between B and C; False (0): between G♯ and A.
  int16_t BaseC() const { return mintBaseC; }
  void SetBaseC(int16_t vintBaseC) { mintBaseC = vintBaseC ? -1 : 0; }

  int16_t Tempo() const { return mintTempo; }
  void SetTempo(int16_t vintTempo) { mintTempo = vintTempo; }

  const std::string& NotesCommand() const { return mstrNotesCommand; }
  void SetNotesCommand(const std::string& vstrNotesCommand) { mstrNotesCommand = vstrNotesCommand; }

  // Converts NotesCommand. True (−1) when the text is empty and nothing was
  // converted, False (0) otherwise. Errors 5, 6 and 11 reach the caller with
  // the entries made before the error kept and Tempo unchanged.
  int16_t MakeSoundData();

  int16_t SoundDataCount() const { return static_cast<int16_t>(mintLastIndex + 1); }
  // Entry fields by 0-based index; error 9 outside 0..count−1.
  int16_t NotePitch(int16_t vintIndex) const { return Entry(vintIndex).Pitch; }
  int16_t NoteLength(int16_t vintIndex) const { return Entry(vintIndex).Length; }
  int16_t NoteMode(int16_t vintIndex) const { return Entry(vintIndex).Mode; }

 private:
  void ResetNoteData();
  void AppendEntry(int16_t vintPitch, int16_t vintLength, int16_t vintMode);
  const NoteEntry& Entry(int16_t vintIndex) const;

  int16_t mintBaseC = -1;
  std::array<uint8_t, 7> mbytLetter{};
  std::vector<NoteEntry> mudtNotes;
  int16_t mintLastIndex = -1;
  int16_t mintTempo = 0;
  std::string mstrNotesCommand;
};
