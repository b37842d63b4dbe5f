# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source of the window-free libraries (the cores of platform,
# document, editing session, report engine and cover printing) includes a Qt Widgets header, or a header of the
# project that is not itself part of those libraries.
#
#   cmake -DSOURCES_FILE=<list of sources> -DWIDGETS_DIR=<.../QtWidgets>
#         [-DPRINTSUPPORT_DIR=<.../QtPrintSupport>] -P check_widget_free.cmake
cmake_minimum_required(VERSION 3.22)

if(NOT EXISTS "${WIDGETS_DIR}")
  message(FATAL_ERROR "The Qt Widgets headers were not found (${WIDGETS_DIR}).")
endif()
file(GLOB widgetHeaders RELATIVE "${WIDGETS_DIR}" "${WIDGETS_DIR}/*")
# Print Support's dialogs are widgets too, and the library itself loads Qt
# Widgets: none of its headers either.
list(APPEND widgetHeaders QAbstractPrintDialog QPageSetupDialog QPrintDialog QPrintPreviewDialog
     QPrintPreviewWidget qabstractprintdialog.h qpagesetupdialog.h qprintdialog.h
     qprintpreviewdialog.h qprintpreviewwidget.h QPrinter QPrinterInfo qprinter.h qprinterinfo.h)
if(PRINTSUPPORT_DIR AND EXISTS "${PRINTSUPPORT_DIR}")
  file(GLOB printHeaders RELATIVE "${PRINTSUPPORT_DIR}" "${PRINTSUPPORT_DIR}/*")
  list(APPEND widgetHeaders ${printHeaders})
endif()

file(STRINGS "${SOURCES_FILE}" sources)
set(allowed "")
foreach(src ${sources})
  if(src MATCHES "/(platform|report|document|session|tracks|printing|batch)/[^/]+\\.h$")
    string(REGEX REPLACE ".*/((platform|report|document|session|tracks|printing|batch)/[^/]+\\.h)$" "\\1" rel "${src}")
    list(APPEND allowed "${rel}")
  endif()
endforeach()

set(problems "")
foreach(src ${sources})
  file(STRINGS "${src}" lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${lines})
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
      continue()
    endif()
    set(header "${CMAKE_MATCH_1}")
    get_filename_component(name "${header}" NAME)
    if(header MATCHES "^Qt(Widgets|PrintSupport)/" OR name IN_LIST widgetHeaders)
      list(APPEND problems "${src} includes the widget header ${header}")
    elseif(header MATCHES "^(platform|report|reportforms|components|editor|printing|document|session|tracks|batch)/" AND NOT header IN_LIST allowed)
      list(APPEND problems "${src} includes ${header}, which is not part of the window-free libraries")
    endif()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Window-free code depends on widgets:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} window-free sources checked")
