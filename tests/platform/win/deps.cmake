# Two small libraries for the LoadLibrary tests, built under Windows names into the bin
# folder: a probe that can load a library itself (the caller's-folder route) and a
# sibling it finds beside itself.
if(NOT TARGET win_test_probe)
  add_library(win_test_probe SHARED ${CMAKE_CURRENT_LIST_DIR}/probe/WinProbe.cc)
  target_compile_options(win_test_probe PRIVATE ${TAVO_WARNINGS})
  target_link_libraries(win_test_probe PRIVATE tavoplatform)
  tavo_windows_library(win_test_probe WinProbe)

  add_library(win_test_sibling SHARED ${CMAKE_CURRENT_LIST_DIR}/probe/WinProbe.cc)
  target_compile_definitions(win_test_sibling PRIVATE WIN_PROBE_SIBLING)
  target_compile_options(win_test_sibling PRIVATE ${TAVO_WARNINGS})
  target_link_libraries(win_test_sibling PRIVATE tavoplatform)
  tavo_windows_library(win_test_sibling WinProbeSibling)
endif()
add_dependencies(${name} win_test_probe win_test_sibling)
# For running the program outside CTest, which passes TAVO_BIN_DIR itself.
target_compile_definitions(${name} PRIVATE TAVO_BUILD_BIN_DIR="${TAVO_BIN_DIR}")
