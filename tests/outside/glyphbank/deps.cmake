# The glyph library is called directly, as the module imports it.
target_link_libraries(${name} PRIVATE glyphbank)
