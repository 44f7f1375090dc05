# The host shell drives the plug-in of this program's edition, reaching the module only
# through it (see ../deps.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/../deps.cmake)
target_link_libraries(${name} PRIVATE tavohost)
