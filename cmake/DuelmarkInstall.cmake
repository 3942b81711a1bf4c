# What `cmake --install` puts where, laid out as Debian lays out games: the executable in
# games/, its data in share/games/duelmark/ (found there by the game relative to its own
# folder), the tools in bin/, the desktop entry, icon, AppStream metadata and manual page in
# their shared folders. The Debian package (cpack -G DEB) installs the same under /usr.
include(GNUInstallDirs)

# Each executable's own install() sits beside its target: the game's in app/, the tools' in
# tools/.
set(DUELMARK_INSTALL_DATADIR ${CMAKE_INSTALL_DATAROOTDIR}/games/duelmark)
# The game folder's data as the content tools made it; the build's own log and settings,
# left there by runs of the built game, are not data.
foreach(folder images sound data maps)
  install(DIRECTORY ${DUELMARK_GAME_DIR}/${folder} DESTINATION ${DUELMARK_INSTALL_DATADIR})
endforeach()
foreach(size IN LISTS DUELMARK_ICON_SIZES)
  install(FILES ${DUELMARK_ICON_DIR}/${size}x${size}/duelmark.png
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/duelmark.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/duelmark.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
# Manual pages are installed compressed, as Debian's policy asks; man reads them either way.
set(man_page ${CMAKE_BINARY_DIR}/man/duelmark.6)
add_custom_command(
  OUTPUT ${man_page}.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/duelmark.6 ${man_page}
  COMMAND gzip -9nf ${man_page}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/duelmark.6
  COMMENT "Compressing the manual page"
  VERBATIM)
add_custom_target(man_page ALL DEPENDS ${man_page}.gz)
install(FILES ${man_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The Debian package: duelmark_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME duelmark)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Duelmark developers")
set(CPACK_PACKAGE_CONTACT "Duelmark developers <duelmark@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time fighting game for two players")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Two fighters meet on a tiled field seen from above and fight with their own weapon\n\
and with what they pick up: weapons, armour, potions and magic items. Play two people\n\
at one keyboard, against a computer opponent driven by a script, or over the network.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The TrueType fallback font the game reads when the start-up file names none that exists.
set(duelmark_font_depends "fonts-dejavu-core")
find_program(DUELMARK_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(DUELMARK_DPKG_SHLIBDEPS)
  # The libraries the executables link, each as the Debian package that ships it (on Debian 13
  # libsdl1.2debian is sdl12-compat under the classic name).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${duelmark_font_depends}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1, libsdl1.2debian (>= 1.2.11), libsdl-image1.2 (>= 1.2.12), libsdl-ttf2.0-0 (>= 2.0.11), libsdl-mixer1.2 (>= 1.2.12), libsdl-net1.2 (>= 1.2.8), ${duelmark_font_depends}")
endif()
include(CPack)
