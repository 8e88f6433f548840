# Writes OUTPUT, a C++ source holding every picture and icon of RESOURCE_DIR as a byte array,
# and the table that host/linux/embedded_resources.h reads. Run as: cmake -DRESOURCE_DIR=...
# -DOUTPUT=... -P embed_resources.cmake. Files of other kinds (the resource script) are skipped.
cmake_minimum_required(VERSION 3.20)

file(GLOB resourceFiles LIST_DIRECTORIES false "${RESOURCE_DIR}/*")
list(SORT resourceFiles)

# Sixteen bytes to a line keeps the generated file readable in a diff or a debugger.
string(REPEAT "0x..," 16 sixteenBytes)

set(arrays "")
set(entries "")
set(count 0)
foreach(path IN LISTS resourceFiles)
  get_filename_component(extension "${path}" LAST_EXT)
  string(TOLOWER "${extension}" extension)
  if(extension STREQUAL ".jpg" OR extension STREQUAL ".jpeg")
    set(type "BINARYDATA")
  elseif(extension STREQUAL ".bmp")
    set(type "#2")
  elseif(extension STREQUAL ".ico")
    set(type "ICON")
  else()
    continue()
  endif()
  get_filename_component(name "${path}" NAME_WLE)
  if(NOT name MATCHES "^[A-Za-z0-9_.-]+$")
    message(WARNING "Not embedded: ${path} (a resource name is letters, digits, '_', '-' and '.')")
    continue()
  endif()
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" hexLength)
  math(EXPR size "${hexLength} / 2")
  if(size EQUAL 0)
    set(bytes "0")  # an array needs one element; the table still says 0 bytes
  else()
    string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "(${sixteenBytes})" "\\1\n    " bytes "${bytes}")
  endif()
  string(APPEND arrays "const std::uint8_t resource${count}[] = {\n    ${bytes}};\n\n")
  string(APPEND entries "        {L\"${name}\", L\"${type}\", resource${count}, ${size}},\n")
  math(EXPR count "${count} + 1")
endforeach()

if(count EQUAL 0)
  set(table "    return {};")
else()
  set(table "    static const EmbeddedResource table[] = {\n${entries}    };\n    return table;")
endif()

set(content "// Made by cmake/embed_resources.cmake from the files in resources/; do not edit.
#include \"host/linux/embedded_resources.h\"

namespace lw::linuxhost {

namespace {

${arrays}}  // namespace

std::span<const EmbeddedResource> embeddedResources() {
${table}
}

}  // namespace lw::linuxhost
")

# Rewriting an unchanged table would only cost a recompile.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" previous)
  if(previous STREQUAL content)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${content}")
