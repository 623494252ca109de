# The back office's shell: navigation, rights, the current list and its toolbar, closing.
foreach(file navigation workspace)
    list(APPEND BACKOFFICE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
list(APPEND BACKOFFICE_UI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/candidate_picker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/list_grid.cpp
    ${CMAKE_CURRENT_LIST_DIR}/record_fields.cpp
    ${CMAKE_CURRENT_LIST_DIR}/list_panel.cpp
)
list(APPEND BACKOFFICE_UI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/login_panel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
)
