# quavik-bench-transfer: download throughput of TFileTransfer against curl
# (HTTP, or FTP with --ftp), and its file copy against cp (--copy).
add_executable(quavik-bench-transfer ${CMAKE_CURRENT_LIST_DIR}/bench_transfer.cpp ${CMAKE_CURRENT_LIST_DIR}/bench_files.cpp)
target_compile_definitions(quavik-bench-transfer PRIVATE
  QUAVIK_FTP_SERVER_SCRIPT="${CMAKE_SOURCE_DIR}/tests/support/loopback_ftp_server.py")
target_link_libraries(quavik-bench-transfer PRIVATE quavik_transfer PkgConfig::HTTPLIB)
