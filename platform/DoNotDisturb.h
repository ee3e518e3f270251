#pragma once
// Whether the desktop asks programs not to disturb the user now (the
// notification service's inhibition, GNOME's banners turned off). Without a
// desktop service to ask, nobody asks: false.
#include "platform/Services.h"

namespace platform {

class IDoNotDisturb {
 public:
  virtual ~IDoNotDisturb() = default;
  // The desktop's latest answer; never waits for the desktop.
  virtual bool Active() = 0;
  // Asks the desktop afresh; the answer arrives later (Active shows it).
  virtual void Refresh() {}
};

inline bool DesktopDoNotDisturb() {
  return ServiceSlot<IDoNotDisturb>::Installed() && ServiceSlot<IDoNotDisturb>::Get().Active();
}
inline void RefreshDoNotDisturb() {
  if (ServiceSlot<IDoNotDisturb>::Installed()) ServiceSlot<IDoNotDisturb>::Get().Refresh();
}

}  // namespace platform
