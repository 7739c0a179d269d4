# Read by cpack for each package it makes. MENTARO_PACKAGE_COMPONENTS (environment) narrows the
# package to some components, as the tests do to leave out the manual and its pandoc run.
if(DEFINED ENV{MENTARO_PACKAGE_COMPONENTS})
    set(CPACK_COMPONENTS_ALL $ENV{MENTARO_PACKAGE_COMPONENTS})
endif()
