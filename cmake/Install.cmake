# `make install` (or `cmake --install build`): the game, its archive under the
# data folder, the desktop entry, the icons at the usual sizes and the
# AppStream metadata. The install prefix is also where the game looks for
# its archive after the XDG data folders.
include(GNUInstallDirs)

set(VYRN_APP_ID net.vyrn_rekindled.Vyrn)

# Installed under a name less likely to clash than the build's "vyrn".
install(PROGRAMS $<TARGET_FILE:vyrn> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME vyrn-rekindled)
install(FILES ${VYRN_GAME_PAK_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/vyrn-rekindled)
install(FILES ${PROJECT_SOURCE_DIR}/data/${VYRN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/${VYRN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The icons come from the build that drew the archive (the tools build).
get_filename_component(VYRN_ASSET_DIR ${VYRN_GAME_PAK_FILE} DIRECTORY)
install(DIRECTORY ${VYRN_ASSET_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
