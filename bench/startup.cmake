# bench_startup: what a user gets when the clock starts (exec to the first
# frame with text as the X server shows it, memory, idle cost), against a
# minimal Qt clock, on a real X display. The watcher is a plain X client.
pkg_check_modules(XDAMAGE REQUIRED IMPORTED_TARGET x11 xdamage)
add_executable(bench_startup startup_bench.cpp)
target_link_libraries(bench_startup PRIVATE PkgConfig::XDAMAGE kv_child_process)
# The peer: a minimal Qt clock, Qt Widgets only.
add_executable(bench_minimal_clock minimal_clock.cpp)
target_link_libraries(bench_minimal_clock PRIVATE Qt6::Widgets Qt6::Gui Qt6::Core)
add_dependencies(bench_startup Kelvora bench_minimal_clock kvregsvr Quillet kvbuzzer)
