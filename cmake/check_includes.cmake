# Fails when a source file includes a header by a path that climbs out of
# its folder ("../"): such an include is looked up beside the including file
# first, so it would reach any folder and get round the include roots that
# keep the dependencies pointing one way.
#   cmake -DLIST=<file with one source path a line> -DSTAMP=<file> -P check_includes.cmake
file(STRINGS "${LIST}" sources)
set(found "")
foreach(source IN LISTS sources)
  file(STRINGS "${source}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\./")
  foreach(hit IN LISTS hits)
    string(APPEND found "\n  ${source}: ${hit}")
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Includes that climb out of their folder with \"../\" (name the folder from the include root instead):${found}")
endif()
file(TOUCH "${STAMP}")
