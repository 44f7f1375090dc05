# These programs reach the module only through the plug-in they load, as a host does. A
# copy of the module linked in as well (the linker pulls archive members for the library
# templates they instantiate) would register the module's classes a second time.
function(tavo_link_without_module target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  list(FILTER libs EXCLUDE REGEX "^tavomodule_")
  set_property(TARGET ${target} PROPERTY LINK_LIBRARIES "${libs}")
endfunction()
# Arguments of a deferred call are read when it runs; the name is fixed now.
cmake_language(EVAL CODE "cmake_language(DEFER CALL tavo_link_without_module [[${name}]])")

if(name MATCHES "_legacy$")
  target_compile_definitions(${name} PRIVATE TAVO_LEGACY)
  add_dependencies(${name} Tavo61C_legacy)
else()
  add_dependencies(${name} Tavo61C_current)
endif()
