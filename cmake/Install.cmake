# SPDX-License-Identifier: GPL-3.0-or-later
# Installation beside the program, desktop integration and the Debian
# package.
#
#   cmake --install build --prefix /usr/local    (or any staging folder)
#   cd build && cpack                            (builds lurns_<version>_<arch>.deb)
#
# Besides the program (installed by the top-level rules) this installs:
#   share/applications/pt.lurns.Lurns.desktop       entry in the applications menu
#   share/metainfo/pt.lurns.Lurns.metainfo.xml      software-centre description
#   share/mime/packages/lurns.xml                   the ".lrn" cover file type
#   share/icons/hicolor/scalable/{apps,mimetypes}/  the program's and its files' icons (SVG)
#   share/icons/hicolor/<N>x<N>/{apps,mimetypes}/   the same, rendered to PNG at build time
#   share/lurns/help/                               the help pages
#   share/lurns/lurns.ENU, lurns.PTG                the language modules
#   share/man/man1/lurns.1.gz, lurns-batch.1.gz     the manual pages (from doc/*.scd)
#   share/doc/lurns/copyright, changelog.gz         licence and changes (Debian)
# The caches of the desktop (MIME database, icon cache, desktop database)
# are refreshed by the Debian triggers of shared-mime-info, hicolor-icon-theme
# and desktop-file-utils when the package is installed or removed; after a
# plain `cmake --install` into a prefix, run update-mime-database on
# <prefix>/share/mime (see README).

include(GNUInstallDirs)

set(_lurns_desktop ${PROJECT_SOURCE_DIR}/resources/desktop)
set(_lurns_icons ${PROJECT_SOURCE_DIR}/resources/icons)

# --- Desktop entry, software-centre metadata, file type ------------------

install(FILES ${_lurns_desktop}/pt.lurns.Lurns.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The release it describes is the project's version (CMakeLists.txt), of
# the date LURNS_RELEASE_DATE.
configure_file(${_lurns_desktop}/pt.lurns.Lurns.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/pt.lurns.Lurns.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/pt.lurns.Lurns.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_lurns_desktop}/lurns-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME lurns.xml)

# --- Icons ----------------------------------------------------------------
# The file icon goes by the name the MIME type asks for.  Every size is
# rendered from our own drawings by a small tool built here.

install(FILES ${_lurns_icons}/lurns.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${_lurns_icons}/lurns-file.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-lurns-cover.svg)

set(LURNS_ICON_SIZES 16 22 24 32 48 64 128 256)
add_executable(lurns_render_icons ${CMAKE_CURRENT_LIST_DIR}/RenderIcons.cpp)
target_link_libraries(lurns_render_icons PRIVATE Qt6::Gui Qt6::Svg)
set(_lurns_hicolor ${PROJECT_BINARY_DIR}/icons/hicolor)
set(_lurns_pngs)
foreach(_icon "lurns.svg;apps;lurns" "lurns-file.svg;mimetypes;application-x-lurns-cover")
  list(GET _icon 0 _svg)
  list(GET _icon 1 _context)
  list(GET _icon 2 _name)
  set(_out)
  foreach(_size ${LURNS_ICON_SIZES})
    list(APPEND _out ${_lurns_hicolor}/${_size}x${_size}/${_context}/${_name}.png)
  endforeach()
  add_custom_command(OUTPUT ${_out}
    COMMAND lurns_render_icons ${_lurns_icons}/${_svg} ${_lurns_hicolor} ${_context} ${_name} ${LURNS_ICON_SIZES}
    DEPENDS lurns_render_icons ${_lurns_icons}/${_svg}
    COMMENT "Rendering ${_svg} for the icon theme" VERBATIM)
  list(APPEND _lurns_pngs ${_out})
endforeach()
add_custom_target(lurns_icons ALL DEPENDS ${_lurns_pngs})
install(DIRECTORY ${_lurns_hicolor} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# --- Help -----------------------------------------------------------------
# The help viewer looks in <bindir>/../share/lurns/help before falling back
# on the copy built into the program.

install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/help/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lurns/help)

# --- Language modules -----------------------------------------------------
# The English and Portuguese language modules (lurns.ENU, lurns.PTG) go to
# ${CMAKE_INSTALL_DATADIR}/lurns; the language switch looks beside the
# program first, then there.  Their build and install rules live with the
# language switch (LURNS_LANGUAGE_MODULES in the top-level CMakeLists.txt).

# --- Manual pages ---------------------------------------------------------
# Written in scdoc (doc/*.scd) and made at build time, gzipped as Debian
# installs them.

find_program(LURNS_SCDOC scdoc)
find_program(LURNS_GZIP gzip REQUIRED)
if(LURNS_SCDOC)
  set(_lurns_man)
  foreach(_page lurns.1 lurns-batch.1)
    set(_src ${PROJECT_SOURCE_DIR}/doc/${_page}.scd)
    set(_out ${PROJECT_BINARY_DIR}/man/${_page}.gz)
    add_custom_command(OUTPUT ${_out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND sh -c "\"$1\" < \"$2\" | \"$3\" -9n > \"$4\"" sh ${LURNS_SCDOC} ${_src} ${LURNS_GZIP} ${_out}
      DEPENDS ${_src} COMMENT "Writing the manual page ${_page}" VERBATIM)
    list(APPEND _lurns_man ${_out})
  endforeach()
  add_custom_target(lurns_manpages ALL DEPENDS ${_lurns_man})
  install(FILES ${_lurns_man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "scdoc was not found: the manual pages are not built (apt-get install scdoc)")
endif()

# --- Copyright and changelog ------------------------------------------------
# The changelog's latest entry must be the project's version.

file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog _lurns_changelog_top LIMIT_COUNT 1)
if(NOT _lurns_changelog_top MATCHES "^lurns \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog does not begin with version ${PROJECT_VERSION}: "
                      "${_lurns_changelog_top}")
endif()
set(_lurns_changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${_lurns_changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
  COMMAND sh -c "\"$1\" -9n < \"$2\" > \"$3\"" sh ${LURNS_GZIP} ${PROJECT_SOURCE_DIR}/packaging/changelog ${_lurns_changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog VERBATIM)
add_custom_target(lurns_changelog ALL DEPENDS ${_lurns_changelog})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${_lurns_changelog}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lurns)

# --- Debian package ---------------------------------------------------------
# Checked with lintian (scripts/check-package.sh): no error, no warning.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lurns)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Lurns para CD")
set(CPACK_PACKAGE_CONTACT "Lurns para CD maintainers <maintainers@lurns.invalid>"
    CACHE STRING "Maintainer named in the Debian package")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design and print the paper inserts of a CD jewel case")
# Lines of the long description stay within 80 columns (with the leading
# space dpkg adds).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Lurns para CD designs and prints the front cover, the inside of the\n"
    "front cover, the back inlay with its two spines and the disc label of a\n"
    "CD jewel case. Text and pictures are placed on the four sheets, covers\n"
    "are saved to .lrn files and printed at true size on A4 paper, or\n"
    "exported as PDF files, PNG pictures or SVG drawings. The interface is in\n"
    "European Portuguese, with an English language module. lurns-batch\n"
    "reads, prints and exports covers from the command line.")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links are found by dpkg-shlibdeps; what it
# loads at run time is named here: Qt's window-system plugins and the faces
# its texts are measured with (the SVG plugins come with libqt6svg6, which
# the program links).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2, fonts-dejavu-core, fonts-urw-base35")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-wayland, fonts-wine, shared-mime-info, desktop-file-utils, hicolor-icon-theme")
include(CPack)
