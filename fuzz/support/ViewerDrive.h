#pragma once
// Drives a viewer as the help window does, on whatever surfaces it was
// given: display a file, start at an anchor, step through the anchors,
// scroll, hover and click the first link and follow it, then resize the
// frame (which redisplays). Run-time errors the viewer defines are outcomes.
#include <cstddef>
#include <string>

#include "htmlview/clsHTML.h"
#include "platform/PictureBox.h"

namespace fuzz {

// variant picks the text size and the end-of-topic option.
void DriveViewer(clsHTML& html, platform::IPictureBox& canvas, const std::string& path, size_t variant);

}  // namespace fuzz
