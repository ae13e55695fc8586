# Compiles a file that includes HEADER with the include root of another room
# (OTHER_ROOT) and fails unless the compiler refuses it for want of that
# header. The header must be there in its own room's root (OWN_ROOT), so the
# refusal is the seal and not a misspelt name.
#   cmake -DCOMPILER=<c++> -DHEADER=<transfer/internal/x.h> -DOWN_ROOT=<dir>
#         -DOTHER_ROOT=<dir> -DWORK=<scratch folder> -P check_sealed_include.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT EXISTS "${OWN_ROOT}/${HEADER}")
  message(FATAL_ERROR "${HEADER} is not in its own room's include root ${OWN_ROOT}")
endif()
file(MAKE_DIRECTORY "${WORK}")
set(probe "${WORK}/sealed_include_probe.cpp")
file(WRITE "${probe}" "#include \"${HEADER}\"\n")
execute_process(COMMAND "${COMPILER}" -E -I "${OTHER_ROOT}" "${probe}"
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
string(REGEX REPLACE "([][+.*?^$()|\\\\])" "\\\\\\1" pattern "${HEADER}")
# GCC says "x.h: No such file", clang "'x.h' file not found".
if(result EQUAL 0 OR NOT errors MATCHES "(${pattern}: No such file|'${pattern}' file not found)")
  message(FATAL_ERROR "${HEADER} can be included from ${OTHER_ROOT} (${result}):\n${errors}")
endif()
message(STATUS "${OTHER_ROOT} does not reach ${HEADER}")
