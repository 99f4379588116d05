# Checks every quoted #include of the project's code against the layer rules: a file of folder F may
# include files of F itself and of the folders F declares, nothing else of the project.
#   cmake -DSOURCE_DIR=<repository> -DRULES=<file with lines "folder:dep dep ..."> -P check_layers.cmake
cmake_policy(SET CMP0057 NEW)
file(STRINGS "${RULES}" rule_lines)
set(folders "")
foreach(line IN LISTS rule_lines)
  string(FIND "${line}" ":" colon)
  string(SUBSTRING "${line}" 0 ${colon} folder)
  math(EXPR rest "${colon} + 1")
  string(SUBSTRING "${line}" ${rest} -1 deps)
  string(REPLACE " " ";" deps "${deps}")
  list(APPEND folders "${folder}")
  set("allowed_${folder}" "${folder};${deps}")
endforeach()

set(errors "")
file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}"
     "${SOURCE_DIR}/platform/*.h" "${SOURCE_DIR}/platform/*.cpp" "${SOURCE_DIR}/module/*.h"
     "${SOURCE_DIR}/module/*.cpp" "${SOURCE_DIR}/host/*.h" "${SOURCE_DIR}/host/*.cpp"
     "${SOURCE_DIR}/testing/*.h" "${SOURCE_DIR}/testing/*.cpp")
foreach(file IN LISTS files)
  get_filename_component(folder "${file}" DIRECTORY)
  if(NOT folder IN_LIST folders)
    list(APPEND errors "${file}: the folder ${folder} has no layer rule (cmake/Layers.cmake, CMakeLists.txt)")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    if(NOT line MATCHES "\"((platform|module|host|testing)/[^\"]*)\"")
      continue()
    endif()
    get_filename_component(target_folder "${CMAKE_MATCH_1}" DIRECTORY)
    if(NOT target_folder IN_LIST "allowed_${folder}")
      list(APPEND errors "${file}: includes ${CMAKE_MATCH_1}, but ${folder} does not depend on ${target_folder}")
    endif()
  endforeach()
endforeach()

if(errors)
  list(JOIN errors "\n  " text)
  message(FATAL_ERROR "Layer check failed:\n  ${text}")
endif()
