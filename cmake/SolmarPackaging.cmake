# Installing the reader like a desktop program, and its Debian package.
#
# `cmake --install` puts under the prefix (GNUInstallDirs): bin/solmar, the .desktop
# entry, the icon in the hicolor theme (PNGs at six sizes made from the SVG at build time,
# and the SVG), the AppStream metadata, the manual page and the licence notes.
# `cpack -G DEB` in the build folder packs the same files into solmar_<version>-<revision>_<arch>.deb.

set(SOLMAR_APP_ID org.orvanel.Solmar)
# SOLMAR_HOMEPAGE (the top-level CMakeLists.txt) is the maker's site; the AppStream
# screenshots are looked for under it.
set(SOLMAR_PACKAGE_MAINTAINER "Orvanel <solmar@orvanel.example>" CACHE STRING
    "Maintainer of the Debian package, as Name <address>")
set(SOLMAR_DEBIAN_REVISION 1 CACHE STRING "Revision of the Debian package of this version")

set(desktop_src ${PROJECT_SOURCE_DIR}/resources/desktop)
set(desktop_out ${CMAKE_BINARY_DIR}/desktop)
file(MAKE_DIRECTORY ${desktop_out})

# Icons: the SVG drawn for the reader, and PNGs rendered from it for the theme's fixed sizes.
set(SOLMAR_ICON_SIZES 16 32 48 64 128 256)
find_program(SOLMAR_RSVG_CONVERT rsvg-convert)
if(NOT SOLMAR_RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert (Debian package librsvg2-bin) is needed to render the icons; scripts/deps.sh installs it")
endif()
set(icon_svg ${desktop_src}/${SOLMAR_APP_ID}.svg)
set(icon_pngs)
foreach(size IN LISTS SOLMAR_ICON_SIZES)
  set(png ${desktop_out}/icons/${size}x${size}/${SOLMAR_APP_ID}.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${desktop_out}/icons/${size}x${size}
    COMMAND ${SOLMAR_RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${icon_svg}
    DEPENDS ${icon_svg}
    COMMENT "Rendering the ${size}x${size} icon"
    VERBATIM)
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The manual page, compressed as Debian keeps them (gzip -9n: no name or time inside).
set(man_gz ${desktop_out}/solmar.1.gz)
add_custom_command(
  OUTPUT ${man_gz}
  COMMAND gzip -9n -c ${desktop_src}/solmar.1 > ${man_gz}
  DEPENDS ${desktop_src}/solmar.1
  COMMENT "Compressing the manual page"
  VERBATIM)
install(FILES ${man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

add_custom_target(solmar_desktop_files ALL DEPENDS ${icon_pngs} ${man_gz})

install(FILES ${desktop_src}/${SOLMAR_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${desktop_src}/${SOLMAR_APP_ID}.metainfo.xml.in ${desktop_out}/${SOLMAR_APP_ID}.metainfo.xml @ONLY)
install(FILES ${desktop_out}/${SOLMAR_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
configure_file(${desktop_src}/copyright.in ${desktop_out}/copyright @ONLY)
install(FILES ${desktop_out}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/solmar)

# Only the package carries its own change log (Debian's name and compression for it).
configure_file(${desktop_src}/changelog.Debian ${desktop_out}/changelog.Debian @ONLY)
set(changelog_gz ${desktop_out}/changelog.Debian.gz)
add_custom_command(
  OUTPUT ${changelog_gz}
  COMMAND gzip -9n -c ${desktop_out}/changelog.Debian > ${changelog_gz}
  DEPENDS ${desktop_out}/changelog.Debian
  VERBATIM)
add_custom_target(solmar_debian_changelog ALL DEPENDS ${changelog_gz})
install(FILES ${changelog_gz} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/solmar COMPONENT debian EXCLUDE_FROM_ALL)

# The Debian package: one package of every component, the program stripped, its library
# dependencies found by dpkg-shlibdeps from what it links, plus what it needs at run time
# that no library link shows: the window-system plugins of Qt and a Hebrew font.
set(CPACK_PACKAGE_NAME solmar)
set(CPACK_PACKAGE_VENDOR Orvanel)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}a")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reader for a classical Hebrew text with its commentary")
set(CPACK_PACKAGE_DESCRIPTION
    "Solmar is a small, fast desktop reader for the five books of the Torah
in Hebrew, 143 pages each with its commentary, carried inside the
program. It shows a page above and its commentary below, and lets you
turn pages, jump through a table of contents, bookmark pages, search
the text with wildcards and copy a page as Unicode text or RTF.")
set(CPACK_PACKAGE_CONTACT "${SOLMAR_PACKAGE_MAINTAINER}")
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL Unspecified debian)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_PACKAGE_NAME solmar)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${SOLMAR_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SOLMAR_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SOLMAR_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, culmus")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, qt6-wayland")
include(CPack)
