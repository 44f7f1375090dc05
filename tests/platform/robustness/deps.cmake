# The language files are read through the module's language controller; the damaged
# forms start from the designed forms of the form-resource tests.
target_link_libraries(${name} PRIVATE tavomodule_current)
tavo_form_resources(${name}
  ${CMAKE_CURRENT_LIST_DIR}/../vcl/TestBaseForm.dfm
  ${CMAKE_CURRENT_LIST_DIR}/../vcl/TestChildForm.dfm)
