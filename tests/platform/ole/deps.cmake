# The in-process server library that CreateOleObject finds through the registry.
add_library(ole_test_server SHARED ${CMAKE_CURRENT_LIST_DIR}/testserver/OleTestServer.cxx)
target_compile_options(ole_test_server PRIVATE ${TAVO_WARNINGS})
target_link_libraries(ole_test_server PRIVATE tavoplatform)
tavo_windows_library(ole_test_server OleTestServer)
add_dependencies(${name} ole_test_server)
target_compile_definitions(${name} PRIVATE OLE_TEST_SERVER_FILE="$<TARGET_FILE:ole_test_server>")
