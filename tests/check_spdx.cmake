# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file of the project (C++, CMake, shell) does not name
# its licence in its first lines.
#
#   cmake -DSOURCE_DIR=<project> -P check_spdx.cmake
cmake_minimum_required(VERSION 3.22)

file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}"
     "${SOURCE_DIR}/*.cpp" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cmake" "${SOURCE_DIR}/*.sh"
     "${SOURCE_DIR}/CMakeLists.txt" "${SOURCE_DIR}/*/CMakeLists.txt")
set(missing "")
foreach(f ${files})
  # Build trees and third-party files are not the project's sources.
  if(f MATCHES "^(build[^/]*|\\.git)/" OR f MATCHES "/CMakeFiles/")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${f}" head LIMIT_COUNT 3)
  string(FIND "${head}" "SPDX-License-Identifier: GPL-3.0-or-later" at)
  if(at EQUAL -1)
    list(APPEND missing "${f}")
  endif()
endforeach()
if(missing)
  list(JOIN missing "\n  " list)
  message(FATAL_ERROR "Source files without the licence line:\n  ${list}")
endif()
