# What "cmake --install" lays out: a normal Linux install under CMAKE_INSTALL_PREFIX. The installed
# programs hold no portable.txt, so they keep the user's files in the XDG folders and find their
# shipped files in share/ravelo/.
include(GNUInstallDirs)

install(TARGETS ravelo ravelo-cli ravelo-server ravelo-update RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The demo catalogue's emulator is packed into catalogues by "ravelo-server build-demo"; nobody runs it
# by hand.
install(TARGETS ravelo-demo-emu RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/ravelo)

# Shipped read-only files (arcade names and icons, key-map tips), as the build lays them out beside
# the programs.
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/LocalGameRes DESTINATION ${CMAKE_INSTALL_DATADIR}/ravelo)

# Message catalogues: the English interface installs its .mo files under
# ${CMAKE_INSTALL_LOCALEDIR}/<lang>/LC_MESSAGES/ from po/, where LocaleFolder() finds them.
set(RAVELO_INSTALL_LOCALEDIR ${CMAKE_INSTALL_LOCALEDIR})

# The desktop: entry, AppStream metainfo and the icons the build paints.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${RAVELO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${PROJECT_SOURCE_DIR}/packaging/${RAVELO_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${RAVELO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${RAVELO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${RAVELO_ICON_FOLDER}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Manual pages, compressed as Debian has them.
find_program(RAVELO_GZIP gzip REQUIRED)
foreach(page ravelo ravelo-cli ravelo-server ravelo-update)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/man/${page}.1 ${CMAKE_BINARY_DIR}/packaging/man/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/man/${page}.1.gz
    COMMAND ${RAVELO_GZIP} -9 -n -c ${CMAKE_BINARY_DIR}/packaging/man/${page}.1 > ${page}.1.gz
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/packaging/man
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/man/${page}.1
    VERBATIM)
  list(APPEND ravelo_man_pages ${CMAKE_BINARY_DIR}/packaging/man/${page}.1.gz)
endforeach()
add_custom_target(ravelo_man_pages ALL DEPENDS ${ravelo_man_pages})
install(FILES ${ravelo_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The package's changelog and copyright, where Debian looks for them.
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND ${RAVELO_GZIP} -9 -n -c changelog > changelog.gz
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/packaging
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(ravelo_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/ravelo)

# The catalogue service for a household or a club; not enabled by the install.
set(RAVELO_SYSTEMD_UNITDIR lib/systemd/system CACHE STRING "Where the service unit goes, below the prefix")
# The unit names the program by its full path, so it is written when the prefix is known: at install
# time, where "cmake --install --prefix" and CPack can still change it.
install(CODE "
  set(CMAKE_INSTALL_FULL_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  configure_file(\"${PROJECT_SOURCE_DIR}/packaging/ravelo-server.service.in\"
                 \"${CMAKE_BINARY_DIR}/packaging/ravelo-server.service\" @ONLY)")
install(FILES ${CMAKE_BINARY_DIR}/packaging/ravelo-server.service DESTINATION ${RAVELO_SYSTEMD_UNITDIR})

# Everything the install needs, for tests that install the build.
add_custom_target(ravelo_installable
  DEPENDS ravelo ravelo-cli ravelo-server ravelo-update ravelo-demo-emu ravelo_local_game_res
          ravelo_keymap_tips ravelo_app_icons ravelo_man_pages ravelo_changelog)
