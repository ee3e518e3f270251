#pragma once
// The preset row formats the settings dialog offers, and the take-over of
// the formats typed or picked there.
#include <string>
#include <vector>

#include "platform/ListControl.h"

namespace FormatPresets {

// The top row's presets (taken over as UnderRowFormat).
const std::vector<std::string>& TopRowPresets();
// The bottom row's presets (taken over as UpperRowFormat).
const std::vector<std::string>& BottomRowPresets();

// Appends the presets to the two format lists.
void FillFormatPresets(platform::IListControl& topList, platform::IListControl& bottomList);

// Takes the lists' texts over as the rows' formats, each only when it can
// format the current time. A top format that cannot be applied stops the
// take-over before either format changes.
void ApplyRowFormats(const platform::IListControl& topList, const platform::IListControl& bottomList);

}  // namespace FormatPresets
