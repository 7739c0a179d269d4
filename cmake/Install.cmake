# What `cmake --install` puts where, and the Debian package made from it by CPack.
# Each installed program is one install(TARGETS …) line below.
set(MENTARO_DATA_DIR ${CMAKE_INSTALL_DATADIR}/mentaro)
set(MENTARO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/mentaro)
set(MENTARO_HICOLOR_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# Programs.
install(TARGETS mentaro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS mentaro-erg RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The capitals file that the program copies into each player's data folder.
install(FILES ${CMAKE_BINARY_DIR}/Hauptsta.FKL DESTINATION ${MENTARO_DATA_DIR})

# Desktop menu entry, icon in the hicolor theme, and the software centre's description.
install(FILES ${CMAKE_SOURCE_DIR}/data/${MENTARO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MENTARO_ICON_SVG} DESTINATION ${MENTARO_HICOLOR_DIR}/scalable/apps)
foreach(size IN LISTS MENTARO_ICON_SIZES)
    install(FILES ${MENTARO_ICON_DIR}/hicolor/${size}x${size}/apps/mentaro.png
            DESTINATION ${MENTARO_HICOLOR_DIR}/${size}x${size}/apps)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/${MENTARO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Licence.
install(FILES ${CMAKE_SOURCE_DIR}/COPYING DESTINATION ${MENTARO_DOC_DIR})

# The manual is made when it is installed, so that only installing and packaging need pandoc.
install(CODE "execute_process(COMMAND \"${CMAKE_COMMAND}\" --build \"${CMAKE_BINARY_DIR}\"
                                      --target manual
                              COMMAND_ERROR_IS_FATAL ANY)"
        COMPONENT manual)
install(FILES ${MENTARO_MANUAL} DESTINATION ${MENTARO_DOC_DIR} COMPONENT manual)

# Debian package: mentaro_<version>_<arch>.deb, depending on the runtime libraries that
# dpkg-shlibdeps finds in the programs and on what Qt loads at run time.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mentaro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Mentaro maintainers")
set(CPACK_PACKAGE_CONTACT "Mentaro maintainers <maintainers@users.noreply.c-seed-100a2b5e.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "German training program for concentration and memory")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Fokulantorium trains concentration and short-term memory. It shows sequences of
digits or letters to memorise and type back, with disturbance tasks between
memorising and typing (capitals, texts, rings, billiards), scores every symbol,
keeps results in files, shows and prints them, and has a second exercise with
sequences of colours. The program speaks German.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${MENTARO_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's German texts, its platform plugins, and the fonts the windows ask for by name
# (Arial and Times New Roman are served by Liberation).
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-translations-l10n, qt6-qpa-plugins, libqt6sql6-sqlite, fonts-liberation2, fonts-dejavu-core")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL program manual)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/PackageOptions.cmake)
include(CPack)
