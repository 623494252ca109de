# Staff and permissions: levels, permissions, operators, areas, groups, commission staff.
foreach(file staff_lists staff_navigation)
    list(APPEND BACKOFFICE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
list(APPEND BACKOFFICE_UI_SOURCES ${CMAKE_CURRENT_LIST_DIR}/staff_screen.cpp)
