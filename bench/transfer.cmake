# quavik-bench-transfer: download throughput of TFileTransfer against curl.
add_executable(quavik-bench-transfer ${CMAKE_CURRENT_LIST_DIR}/bench_transfer.cpp)
target_link_libraries(quavik-bench-transfer PRIVATE quavik_transfer PkgConfig::HTTPLIB)
