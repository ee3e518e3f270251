# bench_mml_realtime: an MML melody played in real time (Qt event loop, the
# 1 ms window timer, the real millisecond clock) into a capturing sink; the
# notes' sounded lengths are measured from the capture.
add_executable(bench_mml_realtime mml_realtime.cpp)
target_link_libraries(bench_mml_realtime PRIVATE kv_clock kv_platform_qt kv_audio_analysis)
set_target_properties(bench_mml_realtime PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/clock)
add_dependencies(bench_mml_realtime kvportio)

# bench_sound_onset: the hourly signal and the test play on a private sound
# server, recorded from the server: the first sample against the full
# second, the test's start and first note, idle cost before and after.
find_package(PkgConfig REQUIRED)
pkg_check_modules(KV_BENCH_PULSE REQUIRED IMPORTED_TARGET libpulse)
add_executable(bench_sound_onset sound_onset_bench.cpp)
target_link_libraries(bench_sound_onset PRIVATE kv_clock kv_platform_qt kv_test_doubles kv_audio_analysis kv_sound_server
  PkgConfig::KV_BENCH_PULSE Qt6::Widgets)
set_target_properties(bench_sound_onset PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/clock)
add_dependencies(bench_sound_onset kvportio kvaudio)
