# toml++ for a cross build: its folder is reached through a build-folder directory holding only
# a link to it, so that the cross compiler never sees the rest of the Linux /usr/include.
# Sets VANTOR_TOMLPP_ISOLATED.
if(NOT VANTOR_TOMLPP_INCLUDE)
  find_path(VANTOR_TOMLPP_INCLUDE toml++/toml.h PATHS /usr/include /usr/local/include NO_CMAKE_FIND_ROOT_PATH)
endif()
if(NOT VANTOR_TOMLPP_INCLUDE)
  message(FATAL_ERROR "toml++ is missing: apt-get install libtomlplusplus-dev")
endif()
set(VANTOR_TOMLPP_ISOLATED ${CMAKE_CURRENT_BINARY_DIR}/isolated-include)
file(MAKE_DIRECTORY ${VANTOR_TOMLPP_ISOLATED})
file(CREATE_LINK ${VANTOR_TOMLPP_INCLUDE}/toml++ ${VANTOR_TOMLPP_ISOLATED}/toml++ SYMBOLIC)
