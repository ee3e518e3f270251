// Quillet's whole display path on document bytes, on the real (offscreen)
// surfaces, driven as the help window drives it.
#include <filesystem>
#include <memory>

#include "fuzz/support/FuzzSupport.h"
#include "fuzz/support/ViewerDrive.h"
#include "platform/Services.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartPlatform();
  // The picture the documents may name, beside them.
  std::filesystem::copy_file(KV_SAMPLE_HELP "/logo.png", fuzz::ScratchDir() + "/logo.png",
                             std::filesystem::copy_options::overwrite_existing);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratchFile("doc.htm", data, size);
  fuzz::QuietHost quiet;
  using namespace platform;
  auto form = Controls().CreateForm(FormStyle{"frmHTMLHelp", "", vbSizable, false, false});
  form->Move(0, 0, 500 * 15, 400 * 15);
  auto back = Controls().CreatePictureBox(*form, "Picture1");
  back->Move(0, 0, 400 * 15, 300 * 15);
  auto canvas = Controls().CreatePictureBox(*back, "Picture3");
  auto work = Controls().CreatePictureBox(*form, "Picture2");
  auto scroll = Controls().CreateVScrollBar(*form, "VScroll1");
  {
    clsHTML html;
    html.SetCanvas(canvas.get());
    html.SetWorkCanvas(work.get());
    html.SetVScroll(scroll.get());
    html.SetBackFrame(back.get());
    fuzz::DriveViewer(html, *canvas, path, size);
  }
  return 0;
}
