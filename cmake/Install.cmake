# Installed system-wide: the program in bin, its read-only assets in share/zelvo, a menu entry
# and an icon; user files then go to the per-user data folder.
include(GNUInstallDirs)
install(TARGETS zelvo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET zelvo_sound)
  install(TARGETS zelvo_sound LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/zelvo/modules)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/assets/alarm.wav ${CMAKE_SOURCE_DIR}/assets/splash.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zelvo)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zelvo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/assets/zelvo.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
if(UNIX)
  # The manual page, compressed as Debian keeps them.
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/zelvo.1.gz
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/zelvo.1 > ${CMAKE_BINARY_DIR}/zelvo.1.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/zelvo.1)
  add_custom_target(zelvo_manual ALL DEPENDS ${CMAKE_BINARY_DIR}/zelvo.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/zelvo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  # What Debian asks of every package: the copyright and a changelog, compressed the same way.
  configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
    COMMAND gzip -9n -c ${CMAKE_BINARY_DIR}/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
    DEPENDS ${CMAKE_BINARY_DIR}/changelog)
  add_custom_target(zelvo_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zelvo)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvo)
set(CPACK_PACKAGE_CONTACT "Zelvo Software <support@zelvo.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Up to forty countdown timers with reminders and alarms")
set(CPACK_PACKAGE_DESCRIPTION "Zelvo runs up to forty countdown timers at once from the notification
area. Each holds a reminder message and a duration or a clock time; at zero a
reminder window shows the message, an alarm sounds and a file or web address
can open. Countdowns survive the program's end and the machine's restart, and
a command line starts and lists them.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the linker's list does not name it; 7.85 has the protocol-list options.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4 (>= 7.85.0)")
# Wayland sessions need Qt's plugin for it; X11 desktops run without.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
