# What `cmake --install` puts where, and the Debian package made from it by CPack.
# Each installed program is one install(TARGETS …) line below.
set(MENTARO_DATA_DIR ${CMAKE_INSTALL_DATADIR}/mentaro)
set(MENTARO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/mentaro)
set(MENTARO_HICOLOR_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# Programs.
install(TARGETS mentaro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS mentaro-erg RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the package) also drops the compiler's note in .comment, as Debian's own
# packages do. (The install script compares component names unquoted, so the loop variable
# must not be called like a component.)
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    foreach(mentaro_stripped mentaro mentaro-erg)
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${mentaro_stripped}\"
            COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
endif()")

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

# Licence (machine-readable, as Debian reads it; the GPL's text is in common-licenses) and
# the changelog.
install(FILES ${CMAKE_SOURCE_DIR}/data/copyright ${MENTARO_CHANGELOG_GZ}
        DESTINATION ${MENTARO_DOC_DIR})

# Manual pages: man1 in English, de/man1 in German.
install(DIRECTORY ${MENTARO_MAN_DIR}/ DESTINATION ${CMAKE_INSTALL_MANDIR}
        FILES_MATCHING PATTERN "*.1.gz")

# The manual needs pandoc: without it, installing the manual stops and says so.
install(CODE "execute_process(COMMAND \"${CMAKE_COMMAND}\" --build \"${CMAKE_BINARY_DIR}\"
                                      --target manual
                              COMMAND_ERROR_IS_FATAL ANY)"
        COMPONENT manual)
install(FILES ${MENTARO_MANUAL} ${MENTARO_MANUAL_HTML} DESTINATION ${MENTARO_DOC_DIR}
        COMPONENT manual)
install(DIRECTORY ${MENTARO_MANUAL_IMAGES_DIR} DESTINATION ${MENTARO_DOC_DIR} COMPONENT manual)

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
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${MENTARO_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's German texts, its platform plugins, and the fonts the windows ask for by name
# (Arial and Times New Roman are served by Liberation).
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-translations-l10n, qt6-qpa-plugins, qt6-wayland, libqt6sql6-sqlite, fonts-liberation2, fonts-dejavu-core")
# The help boxes open the HTML manual through xdg-open, as Qt does outside the big desktops.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL program manual debian)
# The HTML manual registered with Debian's documentation index, only in the package, since the
# registration names the package's paths.
set(MENTARO_PACKAGE_DOC_DIR ${CPACK_PACKAGING_INSTALL_PREFIX}/${MENTARO_DOC_DIR})
configure_file(${CMAKE_SOURCE_DIR}/data/mentaro-anleitung.doc-base.in
               ${CMAKE_BINARY_DIR}/mentaro-anleitung @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/mentaro-anleitung DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base
        COMPONENT debian EXCLUDE_FROM_ALL)
include(CPack)
