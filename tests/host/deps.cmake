# The host's library; the glyph library serves as a library that is no plug-in.
target_link_libraries(${name} PRIVATE tavohost)
if(TARGET glyphbank)
  add_dependencies(${name} glyphbank)
endif()
