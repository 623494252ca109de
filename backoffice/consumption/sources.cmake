# Consumption setup: kinds, classes, items, output points, discount schemes.
foreach(file consumption_lists store_change item_components item_type_change class_rates
        consumption_navigation)
    list(APPEND BACKOFFICE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
list(APPEND BACKOFFICE_UI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/consumption_screen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/item_panel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/components_panel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rates_panel.cpp
)
