# The web side, built into <build>/web with emscripten as part of the Linux build when emscripten
# is present, so one build and one test run cover it: one WebAssembly module that node and the
# browser both run.
set(VANTOR_WEB_DIR ${CMAKE_BINARY_DIR}/web)
find_program(VANTOR_EMCC_FOUND NAMES emcc)
find_program(VANTOR_NODE NAMES node nodejs)

if(VANTOR_WEB_BUILD AND VANTOR_EMCC_FOUND)
  include(ExternalProject)
  ExternalProject_Add(web_build
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${VANTOR_WEB_DIR}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/emscripten.cmake
      -DCMAKE_BUILD_TYPE=Release
      -DVANTOR_TOMLPP_INCLUDE=${VANTOR_TOMLPP_INCLUDE}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON)
  set(VANTOR_HAVE_WEB_BUILD ON)
  set(VANTOR_WEB_RUNNER ${VANTOR_WEB_DIR}/sim/web/run-node.js)
else()
  set(VANTOR_HAVE_WEB_BUILD OFF)
  message(STATUS "emscripten not found: the web module and its tests are skipped")
endif()
