# bench_startup: the clock's start-up time, memory and idle cost against a
# minimal Qt clock, on a real X display.
add_executable(bench_startup startup_bench.cpp)
target_link_libraries(bench_startup PRIVATE Qt6::Widgets Qt6::Gui Qt6::Core)
add_dependencies(bench_startup Kelvora)
