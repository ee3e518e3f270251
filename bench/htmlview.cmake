# The viewer component against QTextDocument on a generated help document.
# The viewer comes from the registered component module at run time.
add_executable(bench_htmlview ${CMAKE_CURRENT_LIST_DIR}/htmlview_bench.cpp)
target_link_libraries(bench_htmlview PRIVATE kv_platform_qt Qt6::Gui)
add_dependencies(bench_htmlview Quillet)
