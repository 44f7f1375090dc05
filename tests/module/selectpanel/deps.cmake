tavo_form_resources(${name} ${CMAKE_CURRENT_LIST_DIR}/SelectPanelForm.dfm)
