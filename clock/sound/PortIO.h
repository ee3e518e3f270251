#pragma once
// Direct port I/O as the port-I/O library offers it (agInp, agOutp).
#include <cstdint>

class IPortIO {
 public:
  virtual ~IPortIO() = default;
  // The byte read from the port.
  virtual int16_t agInp(int16_t vintPort) = 0;
  // Writes the low byte of the value to the port.
  virtual void agOutp(int16_t vintPort, int16_t vintValue) = 0;
};

// The port-I/O library "DWSPY5.DLL" loaded from the search path; nullptr
// when it is missing or lacks the two functions.
IPortIO* PortIOModule();
