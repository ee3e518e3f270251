# bench_mml_realtime: an MML melody played in real time (Qt event loop, the
# 1 ms window timer, the real millisecond clock) into a capturing sink; the
# notes' sounded lengths are measured from the capture.
add_executable(bench_mml_realtime mml_realtime.cpp)
target_link_libraries(bench_mml_realtime PRIVATE kv_clock kv_platform_qt kv_audio_analysis)
set_target_properties(bench_mml_realtime PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/clock)
add_dependencies(bench_mml_realtime kvportio)
