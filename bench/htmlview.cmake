# The viewer component against QTextDocument on a generated help document.
add_executable(bench_htmlview ${CMAKE_CURRENT_LIST_DIR}/htmlview_bench.cpp)
target_link_libraries(bench_htmlview PRIVATE Quillet kv_platform_qt Qt6::Gui)
