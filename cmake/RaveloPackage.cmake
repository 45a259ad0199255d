# The Debian package, made by CPack (scripts/package.sh). Its dependencies are worked out from the
# programs by dpkg-shlibdeps, never written by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ravelo)
set(CPACK_PACKAGE_VENDOR "The Ravelo developers")
set(CPACK_PACKAGE_CONTACT "The Ravelo developers <ravelo@users.noreply.github.com>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "game centre for console and arcade emulators")
set(CPACK_PACKAGE_DESCRIPTION
    "Ravelo browses an online game catalogue, installs games with resumable\n"
    "downloads, imports games already on disk and plays them with the right\n"
    "emulator, with gamepads bound for it. The package also holds ravelo-cli,\n"
    "a headless front end, and ravelo-server, a catalogue server with a systemd\n"
    "unit for a household or a club that hosts its own games.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# An emulator front end, not a game: Debian's section for emulators.
set(CPACK_DEBIAN_PACKAGE_SECTION otherosfs)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/ravelo/ravelo)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Chinese interface needs a CJK font; the desktop's opener shows folders and pages.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
