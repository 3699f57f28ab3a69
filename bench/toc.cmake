# The client's benchmarks, start-up and soak memory; included from bench/CMakeLists.txt.
# Every program here joins the `bench` target, which runs them all.

# Reassembly and dispatch through the scripted socket.
add_executable(toc_bench toc_bench.cpp)
target_include_directories(toc_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
target_link_libraries(toc_bench PRIVATE Tarnwick::toc benchmark::benchmark)

# Sign-on and room-join round trips against tocd on loopback.
add_executable(tocd_bench tocd_bench.cpp)
target_include_directories(tocd_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
target_link_libraries(tocd_bench PRIVATE Tarnwick::toc benchmark::benchmark)
target_compile_definitions(tocd_bench PRIVATE TOCD_PATH="$<TARGET_FILE:tocd>")
add_dependencies(tocd_bench tocd)

# Start-up: the smallest Qt window, and the probe that times a program to its first paint.
add_executable(minimal_window minimal_window.cpp)
target_link_libraries(minimal_window PRIVATE Qt6::Widgets)
add_executable(startup_probe startup_probe.cpp)

# The soak's memory over a long session, for scripts/bench-soak.sh.
add_executable(soak_memory soak_memory.cpp)
target_include_directories(soak_memory PRIVATE ${PROJECT_SOURCE_DIR}/tests/support ${PROJECT_SOURCE_DIR}/tests/toc)
target_link_libraries(soak_memory PRIVATE Tarnwick::toc)
target_compile_definitions(soak_memory PRIVATE TOCD_PATH="$<TARGET_FILE:tocd>")
add_dependencies(soak_memory tocd)

# Runs everything above as part of the `bench` target. Start-up needs tarnwick, when it is built.
set(_client_bench_commands
    COMMAND $<TARGET_FILE:toc_bench>
    COMMAND $<TARGET_FILE:tocd_bench>
    COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/bench-soak.sh ${CMAKE_BINARY_DIR})
set(_client_bench_depends toc_bench tocd_bench soak_memory)
if(TARGET tarnwick)
    list(APPEND _client_bench_commands COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/bench-startup.sh ${CMAKE_BINARY_DIR})
    list(APPEND _client_bench_depends tarnwick minimal_window startup_probe)
endif()
add_custom_target(bench_client ${_client_bench_commands} USES_TERMINAL VERBATIM)
add_dependencies(bench_client ${_client_bench_depends})
add_dependencies(bench bench_client)
