#pragma once
// Drawing helpers of the three-dimensional look shared by the windows.
#include "platform/LineControl.h"

namespace bas3DDraw {

// Turns a separator line into an etched one: the line becomes button
// shadow and a white line is laid one pixel below it. In a frame the white
// line is a new element of the line's control array (one pixel longer to the
// right); on a form or picture surface it is drawn on the container's
// surface. False when the line is hidden, is in a frame but not in a control
// array, sits in any other container, or anything fails.
bool DrawEtchedLine(platform::ILine& line);

}  // namespace bas3DDraw
