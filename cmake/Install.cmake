# What an install of the game holds and where it goes (the folders are set at
# the top of CMakeLists.txt), and the .deb package scripts/package makes of it
# with CPack.

# The executable and the data set. The installed game finds the data set from
# where its executable lies (config/GameLocation.cpp).
install(TARGETS brevora RUNTIME DESTINATION ${BREVORA_INSTALL_GAMEDIR})
install(FILES ${BREVORA_DATA_PK} DESTINATION ${BREVORA_INSTALL_DATADIR}/data)

# The menu icon, drawn by the routine that draws the window icon of the data
# set, at the sizes desktops choose from.
set(BREVORA_ICONS)
foreach(size 64 128 256)
  set(png ${CMAKE_BINARY_DIR}/packaging/icons/${size}/${BREVORA_APP_ID}.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND $<TARGET_FILE:brevora-mkdata> --icon ${png} --icon-size ${size}
    DEPENDS brevora-mkdata
    COMMENT "Drawing the ${size} x ${size} menu icon"
    VERBATIM)
  list(APPEND BREVORA_ICONS ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(menu_icons ALL DEPENDS ${BREVORA_ICONS})

set(metainfo ${CMAKE_BINARY_DIR}/packaging/${BREVORA_APP_ID}.metainfo.xml)
configure_file(${CMAKE_SOURCE_DIR}/packaging/brevora.metainfo.xml.in ${metainfo} @ONLY)
install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The desktop entry starts the executable by its full path, which is known
# only when installing (a package installs below a prefix of its own), so the
# entry is written then.
set(desktop ${CMAKE_BINARY_DIR}/packaging/${BREVORA_APP_ID}.desktop)
install(CODE "
  set(BREVORA_APP_ID ${BREVORA_APP_ID})
  set(BREVORA_EXECUTABLE [[${BREVORA_INSTALL_GAMEDIR}/brevora]])
  cmake_path(ABSOLUTE_PATH BREVORA_EXECUTABLE BASE_DIRECTORY \"\${CMAKE_INSTALL_PREFIX}\" NORMALIZE)
  set(applications [[${CMAKE_INSTALL_DATADIR}/applications]])
  cmake_path(ABSOLUTE_PATH applications BASE_DIRECTORY \"\${CMAKE_INSTALL_PREFIX}\" NORMALIZE)
  configure_file([[${CMAKE_SOURCE_DIR}/packaging/brevora.desktop.in]] [[${desktop}]] @ONLY)
  file(INSTALL [[${desktop}]] DESTINATION \"\${applications}\")
")

# The Debian package: the same install below /usr, its library dependencies
# found by dpkg-shlibdeps (dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brevora)
set(CPACK_PACKAGE_VENDOR "The Brevora developers")
set(CPACK_PACKAGE_CONTACT "The Brevora developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "real-time strategy for colonies of viruses
Two to four colonies of viruses fight for one field. You steer yours only
with flags placed by the mouse; the computer steers the rest at Easy, Medium
or Hard. The seven best scores enter the Top 7.")
set(CPACK_STRIP_FILES ON)
include(CPack)
