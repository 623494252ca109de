# What every area's panels are built from: the work area's state and the toolbar's buttons
# (logic), the list panel with its grids, fields and candidate picker (screens), and the context
# every back-office screen is handed.
foreach(file navigation workspace)
    list(APPEND BACKOFFICE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
list(APPEND BACKOFFICE_UI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/candidate_picker_panel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/list_grid_panel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/record_fields_panel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/list_panel.cpp
)
