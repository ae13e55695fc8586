# quavik-bench-memory: Quavik's resident memory while logged in, against a
# bare Qt window that has loaded libcurl (quavik-bench-bare-window), both
# under one Xvfb (needs Xvfb and xdotool).
add_executable(quavik-bench-bare-window ${CMAKE_CURRENT_LIST_DIR}/bare_window.cpp)
target_link_libraries(quavik-bench-bare-window PRIVATE Qt6::Widgets CURL::libcurl)
set_target_properties(quavik-bench-bare-window PROPERTIES AUTOMOC OFF AUTORCC OFF)

add_executable(quavik-bench-memory ${CMAKE_CURRENT_LIST_DIR}/memory_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/memory_figures.cpp)
target_link_libraries(quavik-bench-memory PRIVATE Qt6::Core)
target_compile_definitions(quavik-bench-memory PRIVATE
  QUAVIK_BIN="$<TARGET_FILE:quavik>"
  QUAVIK_CLAN_SERVER_BIN="$<TARGET_FILE:quavik-clan-server>"
  QUAVIK_BARE_WINDOW_BIN="$<TARGET_FILE:quavik-bench-bare-window>")
add_dependencies(quavik-bench-memory quavik quavik-clan-server quavik-bench-bare-window)
set_target_properties(quavik-bench-memory PROPERTIES AUTOMOC OFF AUTORCC OFF)
