# vantor_cross_build(name toolchain folder): this same source tree built by the toolchain file
# cmake/<toolchain> into `folder`, as a step of the Linux build (the target `name`), so that one
# build and one test run cover every platform. A cross build cannot look in the Linux headers
# itself: the header-only toml++ that it reads scenario files with is found here.
include(ExternalProject)
find_path(VANTOR_TOMLPP_INCLUDE toml++/toml.h)

function(vantor_cross_build name toolchain folder)
  ExternalProject_Add(${name}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${folder}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/${toolchain}
      -DCMAKE_BUILD_TYPE=Release
      -DVANTOR_TOMLPP_INCLUDE=${VANTOR_TOMLPP_INCLUDE}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON)
endfunction()
