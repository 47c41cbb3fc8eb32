# Makes the release zip: Vantor.asi, the default Vantor.ini as the Windows build itself saves
# it (the save_defaults scenario played under Wine), the install note for players and, when the
# web build made it, the page (Vantor.html).
# Run by the package_release target with cmake -P and these variables (VERSION also fills the
# note's @VERSION@), PAGE optional:
#   VERSION WINE WINE_PREFIX PREFIX_SCRIPT HOST ASI SCENARIO NOTE WORK_DIR OUTPUT
foreach(variable VERSION WINE WINE_PREFIX PREFIX_SCRIPT HOST ASI SCENARIO NOTE WORK_DIR OUTPUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "MakeRelease.cmake needs -D${variable}=...")
  endif()
endforeach()

execute_process(COMMAND ${PREFIX_SCRIPT} ${WINE} ${WINE_PREFIX} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the Wine prefix could not be made")
endif()

set(run_dir ${WORK_DIR}/run)
set(stage_dir ${WORK_DIR}/Vantor-${VERSION})
file(REMOVE_RECURSE ${run_dir} ${stage_dir} ${OUTPUT})
file(MAKE_DIRECTORY ${run_dir} ${stage_dir})

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
          WINEPREFIX=${WINE_PREFIX} WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml="
          ${WINE} ${HOST} --plugin ${ASI} --scenario ${SCENARIO} --trace trace.txt
  WORKING_DIRECTORY ${run_dir}
  RESULT_VARIABLE status
  ERROR_VARIABLE host_output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "vantor-host.exe failed (${status}) while saving the defaults:\n${host_output}")
endif()
if(IS_DIRECTORY ${run_dir}/Vantor.ini OR NOT EXISTS ${run_dir}/Vantor.ini)
  message(FATAL_ERROR "the plugin saved no Vantor.ini from the menu; nothing to ship as the defaults")
endif()
file(SIZE ${run_dir}/Vantor.ini ini_size)
if(ini_size EQUAL 0)
  message(FATAL_ERROR "the plugin saved an empty Vantor.ini")
endif()

file(COPY_FILE ${ASI} ${stage_dir}/Vantor.asi)
file(COPY_FILE ${run_dir}/Vantor.ini ${stage_dir}/Vantor.ini)
configure_file(${NOTE} ${stage_dir}/INSTALL.txt @ONLY NEWLINE_STYLE CRLF)
set(files ${stage_dir}/Vantor.asi ${stage_dir}/Vantor.ini ${stage_dir}/INSTALL.txt)
if(PAGE)
  if(NOT EXISTS ${PAGE})
    message(FATAL_ERROR "the page ${PAGE} is missing: build the web module first")
  endif()
  file(COPY_FILE ${PAGE} ${stage_dir}/Vantor.html)
  list(APPEND files ${stage_dir}/Vantor.html)
endif()

# Flat: the files go straight into the game's folder. -X: no owner or extra time fields.
execute_process(COMMAND zip -X -q -j ${OUTPUT} ${files} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "zip failed (${status}); is the zip command installed?")
endif()
message(STATUS "release package: ${OUTPUT}")
