# Room setup: departments, table types, tables, consumption modes and their price bands.
foreach(file room_lists price_bands mode_amount room_navigation)
    list(APPEND BACKOFFICE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
list(APPEND BACKOFFICE_UI_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/room_screen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mode_panel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bands_panel.cpp
)
