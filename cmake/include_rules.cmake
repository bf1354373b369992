# Dependencies run downwards only. Every library is given the folders under
# src/ that its sources may include from; a quoted include from any other
# folder of src/ fails the build of that library.
function(morvane_includes_only target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(files)
  foreach(source IN LISTS sources)
    if(source MATCHES "\\.(cpp|h)$")
      get_filename_component(path ${source} ABSOLUTE BASE_DIR ${source_dir})
      list(APPEND files ${path})
    endif()
  endforeach()
  file(GLOB headers ${source_dir}/*.h)
  list(APPEND files ${headers})
  list(REMOVE_DUPLICATES files)
  set(checked ${CMAKE_CURRENT_BINARY_DIR}/${target}.includes_checked)
  add_custom_command(OUTPUT ${checked}
    COMMAND ${CMAKE_COMMAND} "-DFILES=${files}" "-DALLOWED=${ARGN}" "-DSRC=${PROJECT_SOURCE_DIR}/src"
            -DCHECKED=${checked} -P ${PROJECT_SOURCE_DIR}/cmake/check_includes.cmake
    DEPENDS ${files} ${PROJECT_SOURCE_DIR}/cmake/check_includes.cmake
    COMMENT "Checking what ${target} includes" VERBATIM)
  add_custom_target(${target}_includes DEPENDS ${checked})
  add_dependencies(${target} ${target}_includes)
endfunction()
