# The language library itself, two stand-ins for it (one lacking an export, one whose
# conversions fail), each "Kvlanguage.dll" in a folder of its own, and the test forms.
if(NOT TARGET codepage_stub_partial)
  foreach(kind partial failing)
    set(stub codepage_stub_${kind})
    add_library(${stub} SHARED ${CMAKE_CURRENT_LIST_DIR}/stub/StubLanguage.cc)
    target_compile_options(${stub} PRIVATE ${TAVO_WARNINGS} -fvisibility=hidden)
    target_include_directories(${stub} PRIVATE ${CMAKE_SOURCE_DIR})
    tavo_windows_library(${stub} Kvlanguage)
    set_target_properties(${stub} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/kvlanguage-${kind})
  endforeach()
  target_compile_definitions(codepage_stub_failing PRIVATE STUB_LANGUAGE_FAILING)
endif()
add_dependencies(${name} kvlanguage codepage_stub_partial codepage_stub_failing)
target_compile_definitions(${name} PRIVATE
  TAVO_BUILD_BIN_DIR="${TAVO_BIN_DIR}"
  KVLANGUAGE_PARTIAL_DIR="${CMAKE_BINARY_DIR}/tests/kvlanguage-partial"
  KVLANGUAGE_FAILING_DIR="${CMAKE_BINARY_DIR}/tests/kvlanguage-failing")
tavo_form_resources(${name} ${CMAKE_CURRENT_LIST_DIR}/CodePageForm.dfm)
