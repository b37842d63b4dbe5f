# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a window-free program loads Qt Widgets or Qt PrintSupport
# (which loads Qt Widgets itself): the libraries the dynamic loader gives
# each program, as ldd lists them, must hold neither.
#
#   cmake -DPROGRAMS="<program>;<program>" -P check_window_free_links.cmake
cmake_minimum_required(VERSION 3.22)

find_program(LDD ldd REQUIRED)
if(NOT PROGRAMS)
  message(FATAL_ERROR "No program to check (PROGRAMS).")
endif()
set(problems "")
foreach(program ${PROGRAMS})
  if(NOT EXISTS "${program}")
    message(FATAL_ERROR "${program} does not exist.")
  endif()
  execute_process(COMMAND ${LDD} "${program}" RESULT_VARIABLE result OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "ldd ${program} failed: ${err}")
  endif()
  foreach(library libQt6Widgets libQt6PrintSupport)
    if(out MATCHES "${library}\\.so")
      list(APPEND problems "${program} loads ${library}")
    endif()
  endforeach()
endforeach()
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Window-free programs load window libraries:\n  ${text}")
endif()
list(LENGTH PROGRAMS count)
message(STATUS "${count} window-free programs load neither Qt Widgets nor Qt PrintSupport")
