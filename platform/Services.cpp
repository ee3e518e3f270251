#include "platform/Services.h"

#include <map>
#include <mutex>
#include <string>

namespace platform {

void*& ServiceStorage(const char* serviceTypeName) {
  static std::mutex lock;
  static std::map<std::string, void*> slots;  // nodes never move
  std::lock_guard<std::mutex> guard(lock);
  return slots[serviceTypeName];
}

}  // namespace platform
