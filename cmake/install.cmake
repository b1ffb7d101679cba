# Installation and the Debian package: the executable, the delivered data tree under the share
# folder, the desktop entry with its icons and the AppStream metainfo.
#   cmake --install build [--prefix /usr/local]
#   cd build && cpack -G DEB
set(TERVANO_APP_ID cz.tervano.Tervano)
set(TERVANO_HOMEPAGE "https://tervano.cz/" CACHE STRING "Home page named in the metainfo")
set(TERVANO_SCREENSHOT "https://tervano.cz/obrazky/hra.png"
    CACHE STRING "Address of the screenshot named in the metainfo")

install(TARGETS tervano-hra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The tree as delivered; nothing of a build folder (saved games, the autosave log) goes with it.
install(DIRECTORY ${TERVANO_DATA_TREE}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tervano)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tervano
        RENAME copyright)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${TERVANO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/packaging/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
configure_file(${CMAKE_SOURCE_DIR}/packaging/${TERVANO_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${TERVANO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${TERVANO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# cpack -G DEB: tervano_<version>_<arch>.deb. ALSA and FluidSynth are opened at run time, so the
# shared-library scan cannot see them: the packages holding the files the program opens are named
# here with the other runtime packages (cmake/sound_libraries.cmake).
set(CPACK_PACKAGE_NAME tervano)
set(CPACK_PACKAGE_VENDOR "Tým Tervano")
set(CPACK_PACKAGE_CONTACT "Tým Tervano <tervano@tervano.cz>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "crossword game for Czech learners of a foreign language")
set(CPACK_PACKAGE_DESCRIPTION
    "Tervano is a crossword game for Czech speakers who learn a foreign language: Czech clues,\n"
    "answers in the foreign language, scoring of every line and the secret phrase, four grades\n"
    "and a final, with music and sound cues. It comes with a crossword editor, a manager of\n"
    "crossword sets, a script editor and an autosave manager. The program speaks Czech.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TERVANO_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, ${TERVANO_ALSA_PACKAGE}, ${TERVANO_FLUIDSYNTH_PACKAGE}, timgm6mb-soundfont, fonts-dejavu-core")
# ALSA reaches a desktop's sound server through these; without one it opens the card itself.
list(JOIN TERVANO_SOUND_SERVER_PACKAGES " | " CPACK_DEBIAN_PACKAGE_RECOMMENDS)
set(CPACK_STRIP_FILES ON)
include(CPack)
