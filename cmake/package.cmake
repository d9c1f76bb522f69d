# The Debian package of the Linux tray and the console: `cmake --build build/native --target
# package` makes quorvex_VERSION_amd64.deb; its dependencies come from dpkg-shlibdeps.
# What it holds beside the programs (installed by frontends/qt and frontends/console) comes
# from packaging/: the copyright file, the changelog, the manual pages and the AppStream data.
set(QUORVEX_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)

# The changelog's newest entry names the version being packaged.
file(STRINGS ${QUORVEX_PACKAGING}/changelog newestEntry LIMIT_COUNT 1)
if(NOT newestEntry MATCHES "^quorvex \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog starts with \"${newestEntry}\", not an entry for ${PROJECT_VERSION}")
endif()

# Debian wants the changelog and the manual pages compressed the way gzip -9n does it.
set(compressed)
foreach(file changelog quorvex.1 quorvex-console.1)
  set(gz ${CMAKE_BINARY_DIR}/packaging/${file}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E copy ${QUORVEX_PACKAGING}/${file} ${CMAKE_BINARY_DIR}/packaging/${file}
    COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/packaging/${file}
    DEPENDS ${QUORVEX_PACKAGING}/${file} VERBATIM)
  list(APPEND compressed ${gz})
endforeach()
add_custom_target(quorvex_package_files ALL DEPENDS ${compressed})
install(FILES ${QUORVEX_PACKAGING}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION share/doc/quorvex)
install(FILES ${CMAKE_BINARY_DIR}/packaging/quorvex.1.gz ${CMAKE_BINARY_DIR}/packaging/quorvex-console.1.gz
        DESTINATION share/man/man1)
install(FILES ${QUORVEX_PACKAGING}/org.example.quorvex.metainfo.xml DESTINATION share/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# No one's own mailbox: a host under example.org, which is reserved and never delivers.
set(CPACK_PACKAGE_CONTACT "Quorvex developers <quorvex@users.noreply.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "watches a game's public server list from the notification area")
# Lines of at most 80 characters, as Debian's tools want them.
set(CPACK_PACKAGE_DESCRIPTION "Quorvex sits in the desktop's notification area and watches the public
list of dedicated servers of one game: the servers in its menu, an alert when
the busiest up-to-date server reaches a player limit, and a join on a click.
quorvex-console is the same program with a text front end.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Stock GNOME has no notification area for the tray to sit in; this extension adds one.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS gnome-shell-extension-appindicator)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
