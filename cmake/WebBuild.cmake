# The web side, built into <build>/web with emscripten as part of the Linux build when emscripten
# is present, so one build and one test run cover it: one WebAssembly module that node and the
# browser both run.
set(VANTOR_WEB_DIR ${CMAKE_BINARY_DIR}/web)
find_program(VANTOR_EMCC_FOUND NAMES emcc)
find_program(VANTOR_NODE NAMES node nodejs)
find_program(VANTOR_CHROMIUM NAMES chromium chromium-browser)  # the page's test and benchmark
include(${PROJECT_SOURCE_DIR}/cmake/FontSubsets.cmake)  # sets VANTOR_HAVE_FONT_SUBSETS

if(VANTOR_WEB_BUILD AND VANTOR_EMCC_FOUND AND VANTOR_HAVE_FONT_SUBSETS)
  vantor_cross_build(web_build emscripten.cmake ${VANTOR_WEB_DIR})
  set(VANTOR_HAVE_WEB_BUILD ON)
  set(VANTOR_WEB_RUNNER ${VANTOR_WEB_DIR}/sim/web/run-node.js)
  set(VANTOR_WEB_PAGE ${VANTOR_WEB_DIR}/sim/web/vantor.html)
else()
  set(VANTOR_HAVE_WEB_BUILD OFF)
  message(STATUS "emscripten, hb-subset or the DejaVu fonts not found: the web module and its tests are skipped")
endif()
