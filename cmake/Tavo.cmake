# Shared build rules of the project.

# Our own code builds warning-free; third-party headers are included as system headers.
set(TAVO_WARNINGS -Wall -Wextra -Werror -Wno-unused-parameter)

function(tavo_optional_subdirectory dir)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endfunction()

# Every library and program of the emulated Windows world lands in one folder, under its
# Windows file name, so the library search rules work on the build tree as well.
set(TAVO_BIN_DIR ${CMAKE_BINARY_DIR}/bin)

# A library loaded by name at run time: "Name.dll", no "lib" prefix.
function(tavo_windows_library target winname)
  set_target_properties(${target} PROPERTIES
    PREFIX "" OUTPUT_NAME ${winname} SUFFIX ".dll"
    LIBRARY_OUTPUT_DIRECTORY ${TAVO_BIN_DIR}
    BUILD_RPATH "$ORIGIN" INSTALL_RPATH "$ORIGIN")
endfunction()

# One test program per folder under tests/, named after the folder path.
function(tavo_test_folder dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR}/tests ${dir})
  string(REPLACE "/" "_" name "test_${rel}")
  add_executable(${name} ${sources})
  target_compile_options(${name} PRIVATE ${TAVO_WARNINGS})
  target_link_libraries(${name} PRIVATE tavoplatform GTest::gtest GTest::gmock GTest::gtest_main)
  if(EXISTS ${dir}/deps.cmake)
    include(${dir}/deps.cmake)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    BUILD_RPATH "${TAVO_BIN_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "TAVO_BIN_DIR=${TAVO_BIN_DIR};TAVO_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
