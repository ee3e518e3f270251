#pragma once
// The drawing state of one walk of clsHTML::DrawDocument and the drawing of
// text pieces on the canvas: character wrapping at the right margin with
// the kinsoku rules, list spacers, and centred or right-aligned lines put
// together on the work surface and copied into place line by line.
#include <string>
#include <vector>

#include "htmlview/clsHTML.h"

struct clsHTML::DrawState {
  DrawState(clsHTML& owner, platform::IPictureBox& canvas, platform::IPictureBox& work, std::string& plain);

  // Draws one text piece (carriage return + line feed is a line break).
  void DrawPiece(const std::u32string& piece);
  // Copies the pending aligned line to the canvas with the given alignment
  // (1 centre, 2 right; any other drops the line).
  void FlushAligned(int16_t align);
  // A line end on the canvas.
  void LineEnd();
  // The x where lines of the current indent start.
  double IndentX() const;
  void GrowCanvas(double by);

  // 32-bit: a document can open more than 32 767 lists.
  int32_t Indent = 0;
  int32_t BulletDepth = -1;
  int32_t NumberDepth = -1;
  std::vector<int32_t> Counters;
  int16_t Align = 0;
  int16_t PrevAlign = 0;
  bool AlignedPending = false;
  bool BulletJust = false;
  bool NumberJust = false;
  bool InLink = false;
  bool ColorChanged = false;
  bool SizeChanged = false;
  double BaseSize = 0;
  bool ImagePending = false;
  std::u32string ImagePath;
  int32_t ImageWidth = 0;
  int32_t ImageHeight = 0;
  bool On = true;

 private:
  // Pieces of links printed on the work surface, placed when the line is
  // copied: link index and the piece's box on the work surface.
  struct AlignedLink {
    size_t Link;
    double Left, Top, Right, Bottom;
  };

  void NewLine();
  void ListSpacers();
  double LineStartLimit() const;
  bool Hangs(char32_t c, double x, double w, double limit) const;
  void Wrap(LinkSpot*& spot, double pieceHeight);
  void PrintRun(const std::u32string& piece, size_t from, size_t to, LinkSpot* spot);
  void PrintAligned(const std::u32string& piece);
  void PrintAlignedRun(const std::u32string& piece, size_t from, size_t to);
  void StartAligned();

  clsHTML& mOwner;
  platform::IPictureBox& mCanvas;
  platform::IPictureBox& mWork;
  std::string& mPlain;
  // The last character drawn on the current canvas line and on the pending
  // aligned line; 0 when the line holds none.
  char32_t mLastDrawn = 0;
  char32_t mAlignedLast = 0;
  // The alignment the pending aligned line was started with.
  int16_t mAlignedAlign = 0;
  std::vector<AlignedLink> mAlignedLinks;
  // The link whose spot the last copied aligned line placed.
  size_t mPlacedLink = std::string::npos;
};
