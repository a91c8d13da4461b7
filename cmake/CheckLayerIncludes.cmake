# cmake -DRULE=<file setting LAYER, SEES and SOURCES> -DSTAMP=<file> -P CheckLayerIncludes.cmake
# Fails when a source of the layer includes a header of a layer it may not see: the layers
# are platform < exam, report < ui < library, and nothing may reach upward.
cmake_minimum_required(VERSION 3.25)
include(${RULE})
foreach(source ${SOURCES})
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[A-Za-z_]+/")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([A-Za-z_]+)/.*" "\\1" folder "${line}")
    if(NOT folder STREQUAL LAYER AND NOT folder IN_LIST SEES)
      message(FATAL_ERROR "${source}: the ${LAYER} layer includes \"${folder}/...\", which it may not see "
                          "(it sees ${SEES})")
    endif()
  endforeach()
endforeach()
file(TOUCH ${STAMP})
