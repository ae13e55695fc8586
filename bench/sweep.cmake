# Benchmark of the player finder against quakestat on one loopback world of
# 1,000 servers behind a master stand-in.
add_executable(quavik-bench-sweep ${CMAKE_CURRENT_LIST_DIR}/sweep_bench.cpp)
target_link_libraries(quavik-bench-sweep PRIVATE Qt6::Core)
add_dependencies(quavik-bench-sweep quavik quavik-server-swarm-standin quavik-master-standin)
