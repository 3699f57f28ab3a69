# The button's painting cost next to a stock Qt push button; included from bench/CMakeLists.txt.
add_executable(paint_bench paint_bench.cpp)
target_link_libraries(paint_bench PRIVATE Tarnwick::button benchmark::benchmark)

add_custom_target(bench_paint COMMAND $<TARGET_FILE:paint_bench> USES_TERMINAL VERBATIM)
add_dependencies(bench_paint paint_bench)
add_dependencies(bench bench_paint)
