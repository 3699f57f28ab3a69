# tocd under abuse: memory and a well-behaved client's sign-on time while others flood it, and
# connections that never sign on. Included from bench/CMakeLists.txt; about 75 s, run by the
# `bench` target.
add_executable(tocd_limits tocd_limits.cpp)
target_include_directories(tocd_limits PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
target_link_libraries(tocd_limits PRIVATE Tarnwick::toc)
target_compile_definitions(tocd_limits PRIVATE TOCD_PATH="$<TARGET_FILE:tocd>")
add_dependencies(tocd_limits tocd)

add_custom_target(bench_tocd_limits COMMAND $<TARGET_FILE:tocd_limits> USES_TERMINAL VERBATIM)
add_dependencies(bench_tocd_limits tocd_limits)
add_dependencies(bench bench_tocd_limits)
