tavo_form_resources(${name}
  ${CMAKE_CURRENT_LIST_DIR}/TestBaseForm.dfm
  ${CMAKE_CURRENT_LIST_DIR}/TestChildForm.dfm)
