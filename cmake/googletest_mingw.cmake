# GoogleTest for the Windows tests, built from the sources Debian ships
# (package googletest) into a static library of this build.
set(MORVANE_GOOGLETEST_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources")
if(NOT EXISTS ${MORVANE_GOOGLETEST_DIR}/googletest/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest's sources are missing in ${MORVANE_GOOGLETEST_DIR} (apt-get install googletest)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${MORVANE_GOOGLETEST_DIR}/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
