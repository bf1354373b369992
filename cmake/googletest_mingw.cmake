# GoogleTest for the Windows tests, built from its sources (Debian's package
# googletest puts them in /usr/src/googletest) into a static library of this
# build. Sets MORVANE_GOOGLETEST_FOUND; the caller decides what to do without.
set(MORVANE_GOOGLETEST_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources")
if(EXISTS ${MORVANE_GOOGLETEST_DIR}/googletest/CMakeLists.txt)
  set(MORVANE_GOOGLETEST_FOUND ON)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  # MSVC: the same C runtime as the programs it is linked with.
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${MORVANE_GOOGLETEST_DIR}/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  set(MORVANE_GOOGLETEST_FOUND OFF)
endif()
