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
install(FILES ${_lurns_desktop}/pt.lurns.Lurns.metainfo.xml
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
# >>> LANGUAGE MODULES <<<
# The English and Portuguese language modules (lurns.ENU, lurns.PTG) belong
# beside the program, in ${CMAKE_INSTALL_BINDIR}, where the language switch
# looks for them.  Their build and install rules live with the language
# switch (LURNS_LANGUAGE_MODULES in the top-level CMakeLists.txt); if they
# move, their install() goes here, and the package picks them up either way.

# --- Debian package ---------------------------------------------------------

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lurns)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Lurns para CD")
set(CPACK_PACKAGE_CONTACT "Lurns para CD maintainers <maintainers@lurns.invalid>"
    CACHE STRING "Maintainer named in the Debian package")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design and print the paper inserts of a CD jewel case")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Lurns para CD designs and prints the front cover, the inside of the front cover,\n"
    "the back inlay with its two spines and the disc label of a CD jewel case.\n"
    "Text and pictures are placed on the four sheets, covers are saved to .lrn\n"
    "files and printed at true size on A4 paper. The interface is in European\n"
    "Portuguese, with an English language module.")
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
