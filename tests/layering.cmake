# The pages, dialogs and subsystems never include the windows that assemble
# them: only shell/ may include shell/ headers.
# Run as: cmake -DSOURCE_DIR=<root> -P layering.cmake
set(offenders)
foreach(dir applications directory reports browser platform store)
  file(GLOB_RECURSE files ${SOURCE_DIR}/${dir}/*.h ${SOURCE_DIR}/${dir}/*.cpp)
  foreach(f ${files})
    file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]shell/")
    if(lines)
      list(APPEND offenders ${f})
    endif()
  endforeach()
endforeach()
if(offenders)
  string(REPLACE ";" "\n  " list "${offenders}")
  message(FATAL_ERROR "These files include a shell/ header:\n  ${list}")
endif()
message(STATUS "No file outside shell/ includes a shell/ header")
