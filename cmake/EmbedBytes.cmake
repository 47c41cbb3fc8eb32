# vantor_embed_bytes(input output name header): `output`, made at build time, is a C++ source whose
# function `name` (in namespace sim, declared in `header`) returns the bytes of `input`, so that a
# file compiled in cannot drift from its source. Call it in the folder of the target that compiles
# `output`.
function(vantor_embed_bytes input output name header)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DNAME=${name} -DHEADER=${header}
            -P ${PROJECT_SOURCE_DIR}/cmake/embed_bytes.cmake
    DEPENDS ${input} ${PROJECT_SOURCE_DIR}/cmake/embed_bytes.cmake
    COMMENT "Building ${input} in")
endfunction()
