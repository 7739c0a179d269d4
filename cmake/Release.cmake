# SPDX-License-Identifier: GPL-3.0-or-later
# The program's releases, read from the package changelog data/changelog, whose newest entry
# must be this version. They give the metainfo its releases list, the about window its release
# date and the manual pages their date, so that none of them is written down a second time.
find_program(MENTARO_PARSECHANGELOG dpkg-parsechangelog REQUIRED)
set(MENTARO_CHANGELOG ${CMAKE_SOURCE_DIR}/data/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MENTARO_CHANGELOG})
execute_process(COMMAND ${MENTARO_PARSECHANGELOG} -l ${MENTARO_CHANGELOG} --all
                        --format rfc822
                OUTPUT_VARIABLE entries
                RESULT_VARIABLE parsed)
if(NOT parsed EQUAL 0)
    message(FATAL_ERROR "data/changelog cannot be read by dpkg-parsechangelog")
endif()

# One <release> per entry, newest first, dated in UTC; string(TIMESTAMP) formats the time that
# SOURCE_DATE_EPOCH names.
string(REGEX MATCHALL "\nVersion: [^\n]+|\nTimestamp: [0-9]+" fields "${entries}")
set(MENTARO_RELEASES_XML)
set(newest)
set(saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
foreach(field IN LISTS fields)
    if(field MATCHES "Version: (.+)")
        set(version ${CMAKE_MATCH_1})
    elseif(field MATCHES "Timestamp: ([0-9]+)")
        set(ENV{SOURCE_DATE_EPOCH} ${CMAKE_MATCH_1})
        string(TIMESTAMP date "%Y-%m-%d" UTC)
        string(APPEND MENTARO_RELEASES_XML
               "\n    <release version=\"${version}\" date=\"${date}\"/>")
        if(NOT newest)
            set(newest ${version})
            set(MENTARO_RELEASE_TIMESTAMP ${CMAKE_MATCH_1})
            string(TIMESTAMP MENTARO_RELEASE_DATE "%d.%m.%Y" UTC)
        endif()
    endif()
endforeach()
if(saved_epoch STREQUAL "")
    unset(ENV{SOURCE_DATE_EPOCH})
else()
    set(ENV{SOURCE_DATE_EPOCH} "${saved_epoch}")
endif()
if(NOT newest STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "data/changelog begins with version \"${newest}\", not "
                        "${PROJECT_VERSION}: add an entry for this version")
endif()

# The about window's version line.
configure_file(${CMAKE_CURRENT_LIST_DIR}/Release.h.in ${CMAKE_BINARY_DIR}/generated/Release.h
               @ONLY)
