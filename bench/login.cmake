# quavik-bench-login: click to roster on loopback, the session logging in to
# the real clan server.
add_executable(quavik-bench-login ${CMAKE_CURRENT_LIST_DIR}/login_bench.cpp)
target_link_libraries(quavik-bench-login PRIVATE quavik_app quavik_test_support Qt6::Widgets)
target_compile_definitions(quavik-bench-login PRIVATE
  QUAVIK_CLAN_SERVER_BIN="$<TARGET_FILE:quavik-clan-server>")
add_dependencies(quavik-bench-login quavik-clan-server)
set_target_properties(quavik-bench-login PROPERTIES AUTOMOC OFF AUTORCC OFF)
