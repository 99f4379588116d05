# The layers the build enforces. Every folder of code under platform/, module/, host/ and testing/
# declares the folders it may include (sewer_layer); a quoted #include of any other folder of the
# project fails the build with the file, the line and the rule it breaks (scripts/check_layers.cmake,
# run before anything is compiled). A folder of code without a rule fails the build too.

# sewer_layer(<folder> DEPENDS <folder>...)
function(sewer_layer folder)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  string(REPLACE ";" " " deps "${ARG_DEPENDS}")
  set_property(GLOBAL APPEND PROPERTY SEWER_LAYER_RULES "${folder}:${deps}")
endfunction()

# sewer_platform_library(<name> DEPENDS <platform folder>... [SOURCES <extra>...] [LIBS <libraries>...])
# The shared library tav_<name> of platform/<name>, linked with the libraries of its DEPENDS (and only
# those), and the folder's layer rule.
function(sewer_platform_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;SOURCES;LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/${name}/*.cpp)
  add_library(tav_${name} SHARED ${sources} ${ARG_SOURCES})
  target_include_directories(tav_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  set(libraries "")
  set(folders "")
  foreach(dep IN LISTS ARG_DEPENDS)
    list(APPEND libraries tav_${dep})
    list(APPEND folders platform/${dep})
  endforeach()
  target_link_libraries(tav_${name} PUBLIC Boost::headers ${libraries} PRIVATE sewer_warnings ${ARG_LIBS})
  add_dependencies(tav_${name} sewer_layer_check)
  sewer_layer(platform/${name} DEPENDS ${folders})
endfunction()

option(SEWER_CHECK_LAYERS "Fail the build on an include that breaks the layer rules" ON)

# The check itself, once every rule is declared.
function(sewer_layer_check_target)
  if(NOT SEWER_CHECK_LAYERS)
    add_custom_target(sewer_layer_check)
    return()
  endif()
  get_property(rules GLOBAL PROPERTY SEWER_LAYER_RULES)
  set(text "")
  foreach(rule IN LISTS rules)
    string(APPEND text "${rule}\n")
  endforeach()
  set(rules_file ${CMAKE_BINARY_DIR}/layer_rules.txt)
  file(WRITE ${rules_file}.tmp "${text}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${rules_file}.tmp ${rules_file})
  file(GLOB_RECURSE checked CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/platform/*.h ${PROJECT_SOURCE_DIR}/platform/*.cpp
       ${PROJECT_SOURCE_DIR}/module/*.h ${PROJECT_SOURCE_DIR}/module/*.cpp
       ${PROJECT_SOURCE_DIR}/host/*.h ${PROJECT_SOURCE_DIR}/host/*.cpp
       ${PROJECT_SOURCE_DIR}/testing/*.h ${PROJECT_SOURCE_DIR}/testing/*.cpp)
  set(stamp ${CMAKE_BINARY_DIR}/layer_check.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DRULES=${rules_file}
            -P ${PROJECT_SOURCE_DIR}/scripts/check_layers.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${checked} ${rules_file} ${PROJECT_SOURCE_DIR}/scripts/check_layers.cmake
    COMMENT "Checking the layers (what each folder includes)")
  add_custom_target(sewer_layer_check ALL DEPENDS ${stamp})
endfunction()
