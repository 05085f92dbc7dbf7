# Where an installation puts the program and what the desktop needs to offer it, and the .deb
# package made from the same layout (cpack in the build folder).
install(TARGETS jotterly)
# Where the installed program looks for its modules: ../lib/jotterly from its own folder.
install(TARGETS jotterly_sound LIBRARY DESTINATION lib/jotterly)
install(DIRECTORY resources/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/jotterly/help)
install(FILES resources/jotterly.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/install/org.example.jotterly.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES resources/install/jotterly.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Man pages are kept compressed, without a time stamp, so the package builds the same twice.
find_program(GZIP gzip REQUIRED)
set(_man ${CMAKE_BINARY_DIR}/jotterly.1.gz)
add_custom_command(OUTPUT ${_man}
                   COMMAND ${GZIP} -9nc ${CMAKE_SOURCE_DIR}/resources/install/jotterly.1 > ${_man}
                   DEPENDS resources/install/jotterly.1 VERBATIM)
add_custom_target(jotterly_man ALL DEPENDS ${_man})
install(FILES ${_man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME jotterly)
set(CPACK_PACKAGE_VENDOR "The Jotterly developers")
set(CPACK_PACKAGE_CONTACT "The Jotterly developers <jotterly@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sticky notes and reminders in the system tray")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Memos, one-time reminders and recurring events, posted on the desktop as sticky "
       "notes that ring when they fall due.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libcurl and OpenSSL are opened at run time, so dpkg-shlibdeps cannot see them (7.85 brought the
# protocol lists the HTTP client sets).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4 (>= 7.85.0), libssl3 (>= 3.0.0)")
# Without an X server the program runs on Qt's Wayland platform.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
include(CPack)
