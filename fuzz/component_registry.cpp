// The component registry reader on any bytes: a registry it reads must
// write back to text that reads as the same registry, and its lookups must
// hold on whatever it read.
#include <string_view>

#include "fuzz/support/FuzzSupport.h"
#include "platform/com/ComRegistry.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace platform::com;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::optional<ComponentRegistry> registry = ParseComponentRegistry(bytes);
  if (!registry) return 0;
  const std::string text = FormatComponentRegistry(*registry);
  const std::optional<ComponentRegistry> again = ParseComponentRegistry(text);
  if (!again) fuzz::Fail("a registry written by the program does not read back");
  if (!(*again == *registry)) fuzz::Fail("a registry changed on its way through the file");
  for (const ClassRegistration& entry : registry->Classes) {
    if (!registry->FindClass(entry.CLSID)) fuzz::Fail("a registered class is not found by its identifier");
    // A class registered without a name is created by its identifier only.
    if (!entry.ProgID.empty() && !registry->FindProgID(entry.ProgID))
      fuzz::Fail("a registered class is not found by its name");
  }
  for (const TypeLibRegistration& lib : registry->TypeLibs) {
    if (!registry->FindTypeLib(lib.LIBID)) fuzz::Fail("a registered type library is not found");
  }
  return 0;
}
