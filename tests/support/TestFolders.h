#pragma once
// Folders of a test program's own, so that nothing a test does reaches the
// user's files, the user's running clock (its single-instance lock lives in
// the runtime folder) or the user's session bus and display.
#include <filesystem>

namespace kvtest {

// Points HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME and
// XDG_RUNTIME_DIR below root (created as needed, the runtime folder private)
// and drops the session bus and display addresses, for this process and
// every process it starts.
void UseOwnFolders(const std::filesystem::path& root);

// UseOwnFolders on the folder KELVORA_TEST_TMP names, when it is set.
void UseTestFolders();

}  // namespace kvtest
