tavo_form_resources(${name}
  ${CMAKE_CURRENT_LIST_DIR}/LangTestForm.dfm
  ${CMAKE_CURRENT_LIST_DIR}/LangStreamForm.dfm)
# The demonstration installation's language files are checked where they are kept.
target_compile_definitions(${name} PRIVATE TAVO_DEMO_PREFIX="${CMAKE_SOURCE_DIR}/demo/prefix")
