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

# The two editions built from the same sources: the current one and the legacy one.
set(TAVO_EDITIONS current legacy)

# One test program per folder under tests/, named after the folder path. Folders under
# tests/module build once per edition (the legacy program gets the suffix _legacy).
function(tavo_test_folder dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR}/tests ${dir})
  string(REPLACE "/" "_" base "test_${rel}")
  if(rel MATCHES "^module/")
    foreach(edition IN LISTS TAVO_EDITIONS)
      set(name ${base})
      if(edition STREQUAL "legacy")
        set(name ${base}_legacy)
      endif()
      tavo_test_program(${name} "${sources}" ${dir})
      target_link_libraries(${name} PRIVATE tavomodule_${edition})
    endforeach()
  else()
    tavo_test_program(${base} "${sources}" ${dir})
  endif()
endfunction()

function(tavo_test_program name sources dir)
  add_executable(${name} ${sources})
  target_compile_options(${name} PRIVATE ${TAVO_WARNINGS})
  target_link_libraries(${name} PRIVATE tavoplatform GTest::gtest GTest::gmock GTest::gtest_main)
  if(EXISTS ${dir}/deps.cmake)
    include(${dir}/deps.cmake)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    BUILD_RPATH "${TAVO_BIN_DIR}")
  set(prefix "")
  if(name MATCHES "_legacy$")
    set(prefix "legacy.")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_PREFIX "${prefix}"
    PROPERTIES ENVIRONMENT "TAVO_BIN_DIR=${TAVO_BIN_DIR}")
endfunction()

# Embeds form resources (.dfm files, UTF-8 in the repository) into a target; each is
# registered when the target is loaded, under the class its root object names. The texts
# are compiled as narrow literals, so they arrive in the execution character set (GB),
# as the designed form texts are.
function(tavo_form_resources target)
  set(body "// Generated from the form resources of ${target}.\n#include \"platform/vcl/FormResource.h\"\n\nnamespace {\n")
  set(index 0)
  foreach(dfm IN LISTS ARGN)
    get_filename_component(path ${dfm} ABSOLUTE)
    get_filename_component(fileName ${dfm} NAME)
    file(READ ${path} text)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
    string(APPEND body "const TFormResourceRegistration Resource${index}(\"${fileName}\", R\"TavoDfm(${text})TavoDfm\");\n")
    math(EXPR index "${index} + 1")
  endforeach()
  string(APPEND body "}  // namespace\n")
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_form_resources.cpp)
  file(WRITE ${out}.tmp "${body}")
  configure_file(${out}.tmp ${out} COPYONLY)
  target_sources(${target} PRIVATE ${out})
endfunction()
