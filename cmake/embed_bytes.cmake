# Writes a C++ source whose function NAME (in namespace sim) returns the bytes of INPUT; only a
# changed input touches the source, so nothing rebuilds for nothing.
# Run as: cmake -DINPUT=... -DOUTPUT=... -DNAME=... -DHEADER=... -P embed_bytes.cmake
file(READ "${INPUT}" content HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," content "${content}")
string(REPEAT "0x[0-9a-f][0-9a-f]," 20 row)
string(REGEX REPLACE "(${row})" "\\1\n    " content "${content}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT} at build time.\n"
  "#include \"${HEADER}\"\n\n"
  "namespace sim {\n\n"
  "std::string_view ${NAME}() {\n"
  "  static constexpr unsigned char bytes[] = {\n    ${content}};\n"
  "  return {reinterpret_cast<const char*>(bytes), sizeof bytes};\n"
  "}\n\n"
  "}  // namespace sim\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
