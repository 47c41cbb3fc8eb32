# Building for the browser and node with Debian's emscripten, through emscripten's own toolchain
# file; stops at once when emscripten is missing.
find_program(VANTOR_EM_CONFIG NAMES em-config)
if(NOT VANTOR_EM_CONFIG)
  message(FATAL_ERROR "emscripten is missing: apt-get install emscripten")
endif()
execute_process(COMMAND ${VANTOR_EM_CONFIG} EMSCRIPTEN_ROOT OUTPUT_VARIABLE VANTOR_EMSCRIPTEN_ROOT
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
include(${VANTOR_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)

# emcc's JavaScript optimiser needs acorn, which Debian keeps in its node modules folder; a node
# that is not Debian's own does not look there by itself.
find_path(VANTOR_NODE_MODULES acorn/package.json PATHS /usr/share/nodejs /usr/lib/nodejs NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(VANTOR_NODE_MODULES)
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${VANTOR_NODE_MODULES})
endif()
