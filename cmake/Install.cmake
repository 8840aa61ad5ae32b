# `make install` (or `cmake --install build`): the game, its archive under the
# data folder, the desktop entry, the icons at the usual sizes and the
# AppStream metadata. The install prefix is also where the game looks for
# its archive after the XDG data folders.
include(GNUInstallDirs)

set(VYRN_APP_ID net.vyrn_rekindled.Vyrn)

# Installed under a name less likely to clash than the build's "vyrn".
install(PROGRAMS $<TARGET_FILE:vyrn> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME vyrn-rekindled)
install(FILES ${CMAKE_BINARY_DIR}/game.pak DESTINATION ${CMAKE_INSTALL_DATADIR}/vyrn-rekindled)
install(FILES ${PROJECT_SOURCE_DIR}/data/${VYRN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/${VYRN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
