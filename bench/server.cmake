# quavik-bench-server: 1,000 clients reporting to the clan server at once, with
# the roster in memory and in Redis (wrk drives the clients, redis-server is
# started on a free loopback port).
add_executable(quavik-bench-server ${CMAKE_CURRENT_LIST_DIR}/server_bench.cpp
  ${CMAKE_SOURCE_DIR}/server/tests/redis_server.cpp ${CMAKE_SOURCE_DIR}/server/tests/loopback.cpp)
target_include_directories(quavik-bench-server PRIVATE ${CMAKE_SOURCE_DIR}/server/tests)
target_link_libraries(quavik-bench-server PRIVATE quavik_clan_server_lib)
target_compile_definitions(quavik-bench-server PRIVATE
  QUAVIK_CLAN_SERVER_BIN="$<TARGET_FILE:quavik-clan-server>")
add_dependencies(quavik-bench-server quavik-clan-server)
set_target_properties(quavik-bench-server PROPERTIES AUTOMOC OFF AUTORCC OFF)
