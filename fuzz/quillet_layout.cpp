// Quillet's scanner and layout on document bytes, on recording test doubles
// of the surfaces: the same drive as the display target, many times faster,
// so the walk's logic gets far more inputs.
#include <filesystem>

#include "fuzz/support/FuzzSupport.h"
#include "fuzz/support/ViewerDrive.h"
#include "htmlview/FakeControls.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartPlatform();
  std::filesystem::copy_file(KV_SAMPLE_HELP "/logo.png", fuzz::ScratchDir() + "/logo.png",
                             std::filesystem::copy_options::overwrite_existing);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratchFile("doc.htm", data, size);
  fuzz::QuietHost quiet;
  fakes::FakePictureBox back{"Picture1"}, canvas{"Picture2"}, work{"Picture3"};
  fakes::FakeScrollBar scroll;
  canvas.Records = false;
  work.Records = false;
  back.Move(0, 0, 6000, 4500);
  canvas.Move(0, 0, 6000, 4500);
  work.Move(0, 0, 6000, 4500);
  {
    clsHTML html;
    html.SetCanvas(&canvas);
    html.SetWorkCanvas(&work);
    html.SetVScroll(&scroll);
    html.SetBackFrame(&back);
    fuzz::DriveViewer(html, canvas, path, size);
  }
  return 0;
}
