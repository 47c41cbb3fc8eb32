# Writes a C++ source whose function NAME returns the content of the text file INPUT.
# Run as: cmake -DINPUT=... -DOUTPUT=... -DNAME=... -DHEADER=... -P embed_text.cmake
file(READ "${INPUT}" content)
set(delimiter "vantor_text")
string(FIND "${content}" ")${delimiter}\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${INPUT} contains the raw-string end )${delimiter}\"")
endif()
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT} at build time; edit that file instead.\n"
  "#include \"${HEADER}\"\n\n"
  "namespace sim {\n\n"
  "std::string_view ${NAME}() {\n"
  "  static constexpr char text[] = R\"${delimiter}(${content})${delimiter}\";\n"
  "  return {text, sizeof text - 1};\n"
  "}\n\n"
  "}  // namespace sim\n")
# Only a changed text touches the source, so nothing rebuilds for nothing.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
