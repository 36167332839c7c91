# Fails when a file under src/ includes a header from a folder that its own
# folder's library does not link, or sits in a folder that is in no layer.
#   cmake -DSRC=<src dir> -DRULES=<build>/src/layers.cmake -P check_layers.cmake
# RULES (written by src/CMakeLists.txt) sets ORVIX_LAYERS and, for each
# folder, ORVIX_ALLOWED_<folder>: the folders below it that it links.
cmake_minimum_required(VERSION 3.25)
include(${RULES})

file(GLOB files RELATIVE ${SRC} ${SRC}/*/*.h ${SRC}/*/*.cpp)
set(faults "")
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" folder "${file}")
  if(NOT folder IN_LIST ORVIX_LAYERS)
    list(APPEND faults "src/${file}: folder '${folder}' is in no layer (declare it in src/CMakeLists.txt)")
    continue()
  endif()
  file(STRINGS ${SRC}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/[^\"]*\"")
  foreach(line IN LISTS includes)
    string(REGEX MATCH "\"([^\"/]+)/[^\"]*\"" header "${line}")
    set(target "${CMAKE_MATCH_1}")
    if(target IN_LIST ORVIX_LAYERS AND NOT target STREQUAL folder
        AND NOT target IN_LIST ORVIX_ALLOWED_${folder})
      list(APPEND faults "src/${file}: #include ${header}: '${folder}' does not link '${target}'")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes must point down the layers (ARCHITECTURE.md):\n  ${text}")
endif()
