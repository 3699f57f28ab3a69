# What keeping the record costs: a flood stored and not, a room window on a long transcript and a
# short one; included from bench/CMakeLists.txt.
add_executable(store_bench store_bench.cpp widgets_main.cpp)
target_include_directories(store_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
target_link_libraries(store_bench PRIVATE app benchmark::benchmark)

add_custom_target(bench_store COMMAND $<TARGET_FILE:store_bench> USES_TERMINAL VERBATIM)
add_dependencies(bench_store store_bench)
add_dependencies(bench bench_store)
