# The Windows side, cross-built into <build>/windows as part of the Linux build when the
# MinGW-w64 compiler is present, so one build and one test run cover both platforms.
set(VANTOR_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
find_program(VANTOR_MINGW_FOUND NAMES x86_64-w64-mingw32-g++-win32)
find_program(VANTOR_MINGW_OBJDUMP NAMES x86_64-w64-mingw32-objdump)

if(VANTOR_WINDOWS_BUILD AND VANTOR_MINGW_FOUND)
  vantor_cross_build(windows_build mingw-w64-x86_64.cmake ${VANTOR_WINDOWS_DIR})
  set(VANTOR_HAVE_WINDOWS_BUILD ON)
  set(VANTOR_ASI ${VANTOR_WINDOWS_DIR}/src/Vantor.asi)
  set(VANTOR_WINDOWS_HOST ${VANTOR_WINDOWS_DIR}/sim/windows/vantor-host.exe)
else()
  set(VANTOR_HAVE_WINDOWS_BUILD OFF)
  message(STATUS "MinGW-w64 not found: the Windows plugin and its tests are skipped")
endif()

# The release zip, named with the project's version: `cmake --build <build> --target package_release`.
find_program(VANTOR_WINE NAMES wine64 PATHS /usr/lib/wine)
find_program(VANTOR_ZIP NAMES zip)
set(VANTOR_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(VANTOR_RELEASE_ZIP ${CMAKE_BINARY_DIR}/Vantor-${PROJECT_VERSION}.zip)
# The script's inputs; the release_package test runs it with these too, into its own folder.
set(VANTOR_RELEASE_ARGUMENTS
    -DVERSION=${PROJECT_VERSION}
    -DWINE=${VANTOR_WINE}
    -DWINE_PREFIX=${VANTOR_WINE_PREFIX}
    -DPREFIX_SCRIPT=${PROJECT_SOURCE_DIR}/cmake/wine-prefix.sh
    -DHOST=${VANTOR_WINDOWS_HOST}
    -DASI=${VANTOR_ASI}
    -DSCENARIO=${PROJECT_SOURCE_DIR}/scenarios/compare/save_defaults.toml
    -DNOTE=${PROJECT_SOURCE_DIR}/cmake/release/INSTALL.txt.in)
if(VANTOR_HAVE_WEB_BUILD)
  list(APPEND VANTOR_RELEASE_ARGUMENTS -DPAGE=${VANTOR_WEB_PAGE})
endif()
if(VANTOR_HAVE_WINDOWS_BUILD AND VANTOR_WINE AND VANTOR_ZIP)
  add_custom_target(package_release
    COMMAND ${CMAKE_COMMAND} ${VANTOR_RELEASE_ARGUMENTS}
            -DWORK_DIR=${CMAKE_BINARY_DIR}/release
            -DOUTPUT=${VANTOR_RELEASE_ZIP}
            -P ${PROJECT_SOURCE_DIR}/cmake/MakeRelease.cmake
    BYPRODUCTS ${VANTOR_RELEASE_ZIP}
    COMMENT "Release package Vantor-${PROJECT_VERSION}.zip"
    VERBATIM)
  add_dependencies(package_release windows_build)
  if(VANTOR_HAVE_WEB_BUILD)
    add_dependencies(package_release web_build)
  endif()
else()
  add_custom_target(package_release
    COMMAND ${CMAKE_COMMAND} -E echo "package_release needs MinGW-w64, Wine and zip"
    COMMAND ${CMAKE_COMMAND} -E false)
endif()
