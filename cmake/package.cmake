# The Debian package of the Linux tray: `cmake --build build/native --target package`
# makes quorvex_VERSION_amd64.deb; its dependencies come from dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quorvex developers <quorvex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "watches a game's public server list from the notification area")
set(CPACK_PACKAGE_DESCRIPTION "Quorvex sits in the desktop's notification area and watches the public list of
dedicated servers of one game: the servers in its menu, an alert when the busiest
up-to-date server reaches a player limit, and a join on a click.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
