# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a test that ctest lists has no time limit (TIMEOUT > 0): a
# test that hangs would hold ctest for ever.  Run by the test
# TimeLimits.EveryTestHasOne, so that a test added without a limit fails
# the suite rather than waiting for a reviewer to notice.
#
#   cmake -DCTEST=<ctest> -DBUILD_DIR=<build folder> -P check_timeouts.cmake
#   cmake -DJSON_FILE=<listing> -P check_timeouts.cmake
#
# The listing is ctest's own (--show-only=json-v1): the tests each test
# program's discovery finds, with the properties ctest will run them with.
if(JSON_FILE)
  file(READ "${JSON_FILE}" _json)
else()
  execute_process(COMMAND "${CTEST}" --show-only=json-v1
                  WORKING_DIRECTORY "${BUILD_DIR}"
                  OUTPUT_VARIABLE _json ERROR_VARIABLE _err RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "ctest could not list the tests: ${_err}")
  endif()
endif()

string(JSON _count ERROR_VARIABLE _bad LENGTH "${_json}" tests)
if(_bad OR _count EQUAL 0)
  message(FATAL_ERROR "No tests listed: ${_bad}")
endif()
# Each test's part of the listing is taken out once, so that the search
# for its TIMEOUT does not read the whole listing again.
string(JSON _tests GET "${_json}" tests)
set(_missing)
math(EXPR _last "${_count} - 1")
foreach(_i RANGE ${_last})
  string(JSON _test GET "${_tests}" ${_i})
  string(JSON _name GET "${_test}" name)
  set(_limit 0)
  string(JSON _props ERROR_VARIABLE _noProps GET "${_test}" properties)
  if(NOT _noProps)
    string(JSON _n LENGTH "${_props}")
    if(_n GREATER 0)
      math(EXPR _lastProp "${_n} - 1")
      foreach(_j RANGE ${_lastProp})
        string(JSON _prop GET "${_props}" ${_j} name)
        if(_prop STREQUAL "TIMEOUT")
          string(JSON _limit GET "${_props}" ${_j} value)
        endif()
      endforeach()
    endif()
  endif()
  if(NOT _limit GREATER 0)
    list(APPEND _missing "${_name}")
  endif()
endforeach()

if(_missing)
  list(LENGTH _missing _m)
  list(JOIN _missing "\n  " _list)
  message(FATAL_ERROR "${_m} of ${_count} tests have no time limit (TIMEOUT):\n  ${_list}\n"
                      "Give them one where they are added (tests/CMakeLists.txt).")
endif()
message(STATUS "All ${_count} tests have a time limit.")
