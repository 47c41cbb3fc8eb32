# The renderer's two fonts cut down to the characters it draws (printable ASCII; anything else is
# measured as the missing glyph and left to the browser's own fallback), without hinting or
# shaping tables: cairo's text calls never kern, so a canvas drawing the same subset lays text
# out as the measurements in the module say. DejaVu Sans from fonts-dejavu-core, DejaVu Sans
# Condensed Bold from fonts-dejavu-extra; hb-subset from libharfbuzz-bin.
find_program(VANTOR_HB_SUBSET NAMES hb-subset)
set(VANTOR_DEJAVU_DIRS /usr/share/fonts/truetype/dejavu)
find_file(VANTOR_FONT_Sans DejaVuSans.ttf PATHS ${VANTOR_DEJAVU_DIRS} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
find_file(VANTOR_FONT_CondensedBold DejaVuSansCondensed-Bold.ttf PATHS ${VANTOR_DEJAVU_DIRS} NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH)
# Whether the subsets can be made here: the web build and the tests of its fonts need them.
if(VANTOR_HB_SUBSET AND VANTOR_FONT_Sans AND VANTOR_FONT_CondensedBold)
  set(VANTOR_HAVE_FONT_SUBSETS ON)
else()
  set(VANTOR_HAVE_FONT_SUBSETS OFF)
endif()

# Sets <prefix>_Sans and <prefix>_CondensedBold to the subsets made in `directory` (the renderer's
# PaintFont names), or stops the configure when a tool or a font is missing.
function(vantor_font_subsets directory prefix)
  if(NOT VANTOR_HAVE_FONT_SUBSETS)
    message(FATAL_ERROR "the web page's fonts need hb-subset and the DejaVu fonts: "
                        "apt-get install libharfbuzz-bin fonts-dejavu-core fonts-dejavu-extra")
  endif()
  foreach(font Sans CondensedBold)
    get_filename_component(name ${VANTOR_FONT_${font}} NAME_WE)
    set(subset ${directory}/${name}-subset.ttf)
    add_custom_command(
      OUTPUT ${subset}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${directory}
      COMMAND ${VANTOR_HB_SUBSET} --font-file=${VANTOR_FONT_${font}} --unicodes=20-7E --no-hinting
              --drop-tables+=GPOS,GSUB,GDEF,MATH,kern,gasp --output-file=${subset}
      DEPENDS ${VANTOR_FONT_${font}}
      COMMENT "Cutting ${name} down to the characters the renderer draws")
    set(${prefix}_${font} ${subset} PARENT_SCOPE)
  endforeach()
endfunction()
