#pragma once
// The context switches (voluntary and not) one thread of this process has
// made so far, from its /proc/self/task/<id>/status; 0 when it has ended.
#include <filesystem>
#include <fstream>
#include <string>

inline long long ThreadContextSwitches(const std::filesystem::path& task) {
  std::ifstream status(task / "status");
  std::string key;
  long long value = 0;
  long long total = 0;
  while (status >> key) {
    if (key == "voluntary_ctxt_switches:" || key == "nonvoluntary_ctxt_switches:") {
      status >> value;
      total += value;
    }
  }
  return total;
}
