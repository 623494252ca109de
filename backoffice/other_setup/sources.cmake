# Other setup: shifts, payment methods, other income, item notes, units.
foreach(file other_lists other_navigation)
    list(APPEND BACKOFFICE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
list(APPEND BACKOFFICE_UI_SOURCES ${CMAKE_CURRENT_LIST_DIR}/other_setup_screen.cpp)
