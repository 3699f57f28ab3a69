# The main window under load (log lines, room rows, a burst of server lines); included from
# bench/CMakeLists.txt.
add_executable(window_bench window_bench.cpp widgets_main.cpp)
target_include_directories(window_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/support ${PROJECT_SOURCE_DIR}/tests/app)
target_link_libraries(window_bench PRIVATE app benchmark::benchmark)

add_custom_target(bench_window
    COMMAND $<TARGET_FILE:window_bench>
    COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/bench-idle.sh ${CMAKE_BINARY_DIR}
    USES_TERMINAL VERBATIM)
add_dependencies(bench_window window_bench tarnwick tocd)
add_dependencies(bench bench_window)
