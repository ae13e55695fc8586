# Benchmark of the game log scan against a plain cp of the same log.
add_executable(quavik-bench-scan ${CMAKE_CURRENT_LIST_DIR}/scan_bench.cpp)
target_link_libraries(quavik-bench-scan PRIVATE quavik_presence)
