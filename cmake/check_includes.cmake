# Called by morvane_includes_only: FILES may include headers that sit
# directly in the folders of src/ listed in ALLOWED, and none elsewhere in src/.
cmake_minimum_required(VERSION 3.20)
foreach(file IN LISTS FILES)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" included "${line}")
    if(NOT EXISTS ${SRC}/${included})
      continue()  # beside the file, or generated
    endif()
    get_filename_component(folder "${included}" DIRECTORY)
    if(NOT folder IN_LIST ALLOWED)
      message(FATAL_ERROR "${file} includes \"${included}\": only ${ALLOWED} lie below it")
    endif()
  endforeach()
endforeach()
file(TOUCH ${CHECKED})
